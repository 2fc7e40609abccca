#include "Inifiles.h"

#include "Appfolders.h"
#include "Codepage.h"
#include "Files.h"

#include <cerrno>
#include <charconv>
#include <limits>
#include <utility>

namespace ov {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    return text;
}

bool IsComment(std::string_view line) {
    return !line.empty() && line.front() == ';';
}

// A key line as SetStrings keeps it: blanks around the first "=" dropped.
std::string NormalizeLine(std::string_view line) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::string(line);
    return std::string(TrimBlanks(line.substr(0, equals))) + "=" +
           std::string(TrimLeft(line.substr(equals + 1)));
}

bool IsSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    text = TrimLeft(text);
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::string_view NameOfLine(std::string_view line) {
    size_t equals = line.find('=');
    return equals == std::string_view::npos ? line : line.substr(0, equals);
}

std::string_view ValueOfLine(std::string_view line) {
    size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

bool TryParseInteger(std::string_view text, int& value) {
    text = TrimBlanks(text);
    // One sign at most: "+-5" is not a number.
    bool plus = !text.empty() && text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+' || (plus && text.front() == '-'))
        return false;
    long long parsed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    if (parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(parsed);
    return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string SettingsFileName() {
    return SettingsFilePath();
}

TWriteResult SaveSettingsFile(const TSettingsStore& store) {
    if (store.FileName().empty())
        return {EINVAL};
    CreateFolders(ExtractFilePath(store.FileName()));
    return store.UpdateFile();
}

TSettingsStore::TSettingsStore(std::string fileName) : FFileName(std::move(fileName)) {
    Reload();
}

bool TSettingsStore::Reload() {
    if (FFileName.empty())
        return false;
    std::optional<std::string> text = ReadWholeFile(ResolveFileCase(FFileName));
    if (!text)
        return false;
    std::string_view body = *text;
    // A mark written by an editor would otherwise stick to the first section's name.
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    std::vector<std::string> lines = SplitLines(body);
    for (std::string& line : lines)
        line = Utf8FromUtf8OrAnsi(line);
    SetStrings(lines);
    return true;
}

TWriteResult TSettingsStore::UpdateFile() const {
    if (FFileName.empty())
        return {EINVAL};
    std::string text;
    for (const std::string& line : GetStrings()) {
        text += line;
        text += '\n';
    }
    return WriteFileAtomically(ResolveFileCase(FFileName), text);
}

const TSettingsStore::TSection* TSettingsStore::FindSection(std::string_view section) const {
    for (const TSection& candidate : FSections)
        if (SameText(candidate.Name, section))
            return &candidate;
    return nullptr;
}

TSettingsStore::TSection* TSettingsStore::FindSection(std::string_view section) {
    return const_cast<TSection*>(std::as_const(*this).FindSection(section));
}

TSettingsStore::TSection& TSettingsStore::AddSection(std::string_view section) {
    if (TSection* existing = FindSection(section))
        return *existing;
    FSections.push_back(TSection{std::string(section), {}});
    return FSections.back();
}

int TSettingsStore::IndexOfName(const TSection& section, std::string_view key) {
    for (size_t i = 0; i < section.Lines.size(); ++i) {
        std::string_view line = section.Lines[i];
        if (!IsComment(line) && line.find('=') != std::string_view::npos &&
            SameText(NameOfLine(line), key))
            return static_cast<int>(i);
    }
    return -1;
}

std::string TSettingsStore::ReadString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    const TSection* found = FindSection(section);
    int index = found ? IndexOfName(*found, key) : -1;
    if (index < 0)
        return std::string(defaultValue);
    return std::string(ValueOfLine(found->Lines[static_cast<size_t>(index)]));
}

int TSettingsStore::ReadInteger(std::string_view section, std::string_view key,
                                int defaultValue) const {
    int value = 0;
    return TryParseInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TSettingsStore::ReadBool(std::string_view section, std::string_view key,
                              bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TSettingsStore::WriteString(std::string_view section, std::string_view key,
                                 std::string_view value) {
    TSection& target = AddSection(section);
    std::string line = std::string(key) + "=" + std::string(value);
    int index = IndexOfName(target, key);
    if (index >= 0)
        target.Lines[static_cast<size_t>(index)] = std::move(line);
    else
        target.Lines.push_back(std::move(line));
}

void TSettingsStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TSettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TSettingsStore::AddLine(std::string_view section, std::string_view line) {
    AddSection(section).Lines.emplace_back(line);
}

bool TSettingsStore::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TSettingsStore::ValueExists(std::string_view section, std::string_view key) const {
    const TSection* found = FindSection(section);
    return found && IndexOfName(*found, key) >= 0;
}

std::vector<std::string> TSettingsStore::ReadSections() const {
    std::vector<std::string> names;
    for (const TSection& section : FSections)
        names.push_back(section.Name);
    return names;
}

std::vector<std::string> TSettingsStore::ReadSectionValues(std::string_view section) const {
    std::vector<std::string> values;
    if (const TSection* found = FindSection(section))
        for (const std::string& line : found->Lines)
            if (!IsComment(line))
                values.push_back(line);
    return values;
}

void TSettingsStore::EraseSection(std::string_view section) {
    for (auto it = FSections.begin(); it != FSections.end(); ++it) {
        if (SameText(it->Name, section)) {
            FSections.erase(it);
            return;
        }
    }
}

// Every line of the key goes: a file edited by hand may name it twice, and
// the second line must not come back as the key's value.
void TSettingsStore::DeleteKey(std::string_view section, std::string_view key) {
    TSection* found = FindSection(section);
    if (!found)
        return;
    for (int index; (index = IndexOfName(*found, key)) >= 0;)
        found->Lines.erase(found->Lines.begin() + index);
}

void TSettingsStore::Clear() {
    FPreamble.clear();
    FSections.clear();
}

bool TSettingsStore::KeepsLine(std::string_view line) {
    return !line.empty() && line.find_first_of("\r\n") == std::string_view::npos &&
           TrimBlanks(line) == line && !IsComment(line) && !IsSectionHeader(line) &&
           NormalizeLine(line) == line;
}

void TSettingsStore::SetStrings(const std::vector<std::string>& lines) {
    Clear();
    TSection* current = nullptr;
    for (const std::string& raw : lines) {
        std::string_view line = TrimBlanks(raw);
        if (line.empty())
            continue;
        if (IsComment(line)) {
            (current ? current->Lines : FPreamble).emplace_back(line);
            continue;
        }
        if (IsSectionHeader(line)) {
            current = &AddSection(TrimBlanks(line.substr(1, line.size() - 2)));
            continue;
        }
        if (!current)
            continue;
        current->Lines.push_back(NormalizeLine(line));
    }
}

std::vector<std::string> TSettingsStore::GetStrings() const {
    std::vector<std::string> lines = FPreamble;
    for (const TSection& section : FSections) {
        lines.push_back("[" + section.Name + "]");
        lines.insert(lines.end(), section.Lines.begin(), section.Lines.end());
        lines.emplace_back();
    }
    return lines;
}

} // namespace ov
