#include "Ovsynhighlighter.h"

#include "Codepage.h"
#include "Files.h"
#include "Uiservices.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace ov {

namespace {

std::string_view TrimBlanksOf(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

TOVSynHighlighter::TOVSynHighlighter(std::string folder, std::string userFolder)
    : FFolder(std::move(folder)), FUserFolder(std::move(userFolder)) {}

TOVSynHighlighter::~TOVSynHighlighter() = default;

std::string TOVSynHighlighter::JoinPath(const std::string& folder, const std::string& fileName) {
    if (fileName.empty())
        return folder;
    if (folder.empty())
        return fileName;
    if (folder.back() == '/')
        return folder + fileName;
    return folder + "/" + fileName;
}

int TOVSynHighlighter::SlotOf(std::string_view name) const {
    std::string key(name);
    for (std::size_t i = 0; i < FLanguages.size(); ++i) {
        if (AnsiCompareText(FLanguages[i].c_str(), key.c_str()) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void TOVSynHighlighter::Clear() {
    FSyntaxes.clear();
    FLangStyles.clear();
    FLanguages.clear();
}

std::string TOVSynHighlighter::UserFile(const std::string& fileName) const {
    if (FUserFolder.empty() || FUserFolder == FFolder)
        return {};
    std::string path = JoinPath(FUserFolder, fileName);
    return FileExists(path) ? path : std::string();
}

// A damaged user style (empty, or a bad colour code) must not cost the user
// the language's colours: the shipped style is read instead. Without a
// shipped style the user's error stands.
void TOVSynHighlighter::LoadStyle(int slot, const std::string& fileName) {
    TOVSynLangStyle& style = *FLangStyles[slot];
    const std::string shipped = JoinPath(FFolder, fileName);
    const std::string user = UserFile(fileName);
    if (user.empty()) {
        style.LoadFromFile(shipped);
        return;
    }
    std::optional<std::string> text = ReadWholeFile(ResolveFileCase(user));
    bool damaged = !text || TrimBlanksOf(*text).empty();
    if (!damaged) {
        try {
            style.LoadFromFile(user);
            return;
        } catch (...) {
            if (!FileExists(shipped))
                throw;
        }
    }
    style.Init();
    style.LoadFromFile(shipped);
}

// Both definitions exist before either file is read, so a style file that
// throws leaves a complete slot behind; its syntax is still read.
void TOVSynHighlighter::LoadSlot(int slot) {
    const std::string& name = FLanguages[slot];
    std::exception_ptr styleError;
    try {
        LoadStyle(slot, name + ".sty");
    } catch (...) {
        styleError = std::current_exception();
    }
    std::string syntax = UserFile(name + ".syn");
    FSyntaxes[slot]->LoadFromFile(syntax.empty() ? JoinPath(FFolder, name + ".syn") : syntax);
    if (styleError)
        std::rethrow_exception(styleError);
}

void TOVSynHighlighter::SetLang(const std::string& name) {
    if (name == FLangName)
        return;
    FLangName = name;
    Clear();
    if (name.empty())
        return;
    FLanguages.push_back(name);
    FLangStyles.push_back(std::make_unique<TOVSynLangStyle>());
    FSyntaxes.push_back(std::make_unique<TOVSynLangSyntax>());
    LoadSlot(0);
}

void TOVSynHighlighter::AddLang(const std::string& name) {
    if (FLanguages.empty() || static_cast<int>(FLanguages.size()) >= MaxLanguages ||
        SlotOf(name) >= 0)
        return;
    FLanguages.push_back(name);
    FLangStyles.push_back(std::make_unique<TOVSynLangStyle>());
    FSyntaxes.push_back(std::make_unique<TOVSynLangSyntax>());
    LoadSlot(static_cast<int>(FLanguages.size()) - 1);
}

void TOVSynHighlighter::Refresh() {
    if (FFolder.empty() || FLangName.empty())
        return;
    std::exception_ptr firstError;
    for (std::size_t slot = 0; slot < FLanguages.size(); ++slot) {
        try {
            LoadSlot(static_cast<int>(slot));
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

void TOVSynHighlighter::UseLanguages(const std::vector<std::string>& languages, int count) {
    if (FLanguages.empty())
        return;
    const std::size_t wanted = std::min(languages.size(), std::size_t(std::max(count, 0)));
    std::size_t same = 0;
    while (same < FLanguages.size() && same < wanted && FLanguages[same] == languages[same])
        ++same;
    if (same == 0)
        return; // another document language: not this set's scan
    FLanguages.resize(same);
    FSyntaxes.resize(same);
    FLangStyles.resize(same);
    for (std::size_t slot = same; slot < wanted; ++slot) {
        try {
            AddLang(languages[slot]);
        } catch (...) {
            // A bad style file still leaves the slot in place (LoadSlot).
        }
    }
}

bool TOVSynHighlighter::Execute(TOVSynStringList& lines) {
    if (!HasLanguage())
        return false;
    lines.FinishLoading(); // marks are made for the whole document
    TWaitCursor waitCursor;
    return Scan(lines, TScanState{}, 0, INT_MAX);
}

bool TOVSynHighlighter::ExecuteAway(TOVSynStringList& lines) {
    if (!HasLanguage())
        return false;
    lines.FinishLoading();
    return Scan(lines, TScanState{}, 0, INT_MAX);
}

bool TOVSynHighlighter::ExecuteFrom(TOVSynStringList& lines, const TScanState& state, int firstRow,
                                    int lastRow) {
    if (!HasLanguage())
        return false;
    return Scan(lines, state, std::max(firstRow, 0), std::min(lastRow, lines.Count() - 1));
}

bool TOVSynHighlighter::Scan(TOVSynStringList& lines, const TScanState& state, int firstRow,
                             int lastRow) {
    FLines = &lines;
    if (lines.Count() == 0 || lastRow < firstRow)
        return true;
    lines.ClearStyles(firstRow, lastRow);
    FLastRow = lastRow;
    FFrontier = firstRow - 1;
    FState = TScanState{};
    FResume = state;
    FResumeAt = 0;
    struct TRestore {
        TOVSynHighlighter& Owner;
        ~TRestore() {
            Owner.FLastRow = INT_MAX;
            Owner.FResume = TScanState{};
            Owner.FResumeAt = 0;
            Owner.FState = TScanState{};
        }
    } restore{*this};
    TScanPos pos;
    pos.Row = firstRow;
    if (FSyntaxes[0]->HTML_LANG) {
        if (FLangName != "HTML")
            AddLang("HTML");
        ParseHTML(FLangName, pos);
    } else {
        ParseText(FLangName, {}, pos);
    }
    return true;
}

// --- the scanners' frames ----------------------------------------------------

int TOVSynHighlighter::CloserOf(int slot, std::string_view closer) const {
    const TOVSynLangSyntax& syntax = *FSyntaxes[std::size_t(slot)];
    if (closer == syntax.BlockComment1E)
        return 1;
    if (closer == syntax.BlockComment2E)
        return 2;
    return closer == "-->" ? 3 : 0;
}

std::string_view TOVSynHighlighter::CloserText(int slot, int closer) const {
    if (slot < 0 || slot >= static_cast<int>(FSyntaxes.size()))
        return {};
    const TOVSynLangSyntax& syntax = *FSyntaxes[std::size_t(slot)];
    switch (closer) {
    case 1:
        return syntax.BlockComment1E;
    case 2:
        return syntax.BlockComment2E;
    case 3:
        return "-->";
    default:
        return {};
    }
}

TStyleColors TOVSynHighlighter::GetStyles(int id) const {
    if (FLangStyles.empty())
        return TStyleColors{};
    int slot = id / StyleCount;
    int index = id % StyleCount;
    if (id < 0) {
        slot = 0;
        index = StyleNormal;
    }
    if (slot >= static_cast<int>(FLangStyles.size()))
        slot = 0;
    return FLangStyles[slot]->Colors[index];
}

std::string TOVSynHighlighter::GetStyleNameOf(int id) const {
    const int slot = id / StyleCount;
    const int index = id % StyleCount;
    if (id < 0 || slot >= static_cast<int>(FSyntaxes.size()))
        return {};
    if (index < FixedStyleCount)
        return FixedStyleName(index);
    return FSyntaxes[slot]->GetItems(index - FixedStyleCount).Name;
}

} // namespace ov
