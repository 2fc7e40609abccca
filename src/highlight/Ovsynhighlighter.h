#pragma once
// The highlighter of a document: the set of languages the document needs
// (its own language in slot 0, then the languages of code embedded in HTML
// pages), one syntax and one style definition per language, and the scanners
// that write style marks into the document.
//
// Style marks: a construct of style id s gets +s on its first byte and -s on
// its last byte; a one-byte construct gets -s only; 0 is no mark.

#include "Ovstrings.h"
#include "Ovsynlangstyle.h"
#include "Ovsynlangsyntax.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// Ids of slot k are k * 17 + 0 .. 16 and must fit a signed byte, so the set
// holds slots 0 .. 6 only; AddLang beyond that does nothing.
constexpr int MaxLanguages = 7;

// Position of a scan: a row of the document and a byte column in it.
struct TScanPos {
    int Row = 0;
    int Col = 0;
};

// One scanner running at a row's start: what it scans and in which
// language slot. Text: Variant is the section it scans to its end text (0
// none, the document's own text; 1 the page's own code section; 2 + i the
// embedded language i, script or style). Comment: Variant is the closer (1
// and 2 the syntax's block comment closers, 3 the HTML comment's "-->").
// String: Variant is the string kind, 1 or 2. Tag: Variant is 1 when an
// attribute value comes next. Page: an HTML page, Slot being HTML's.
struct TScanFrame {
    enum class TKind : std::uint8_t { Page, Text, Comment, String, Tag };
    TKind Kind = TKind::Text;
    std::int8_t Slot = 0;
    std::int8_t Variant = 0;
    bool operator==(const TScanFrame&) const = default;
};

// What is open at the start of a row: the scanners running there, the
// outermost first. Empty: the top of the document, nothing open. Scanners
// nest three deep at most (a page, a section or a tag, a comment or string
// in it); a frame deeper than MaxDepth would not be kept.
struct TScanState {
    static constexpr int MaxDepth = 4;
    std::array<TScanFrame, MaxDepth> Frames{};
    int Depth = 0;
    bool operator==(const TScanState&) const = default;
};

class TOVSynHighlighter {
public:
    // folder: where the shipped <language>.syn and .sty lie. userFolder, when
    // given: the user's own definitions, read in preference to the shipped
    // ones file by file; a user .sty that is empty or holds a bad colour code
    // gives way to the shipped .sty of that language.
    explicit TOVSynHighlighter(std::string folder, std::string userFolder = {});
    ~TOVSynHighlighter();
    TOVSynHighlighter(const TOVSynHighlighter&) = delete;
    TOVSynHighlighter& operator=(const TOVSynHighlighter&) = delete;

    // Loads the language into slot 0 when name differs (case included) from
    // LangName; an empty name leaves no language. A bad colour code in the
    // style file throws EConvertError after both definitions are in place
    // (the syntax is still read), so the set stays usable.
    void SetLang(const std::string& name);
    // Appends a language unless the set is empty, full or holds it already
    // (names compared without regard to case).
    void AddLang(const std::string& name);
    // Rereads the style and syntax files of every slot.
    void Refresh();
    // Clears the marks of lines and marks every construct. False (marks left
    // alone) when there is no language; true otherwise, also for an empty
    // document. lines is borrowed for the call and kept as Lines().
    bool Execute(TOVSynStringList& lines);
    // Marks rows firstRow .. lastRow as Execute would, without looking at
    // any row after lastRow: the marks of rows up to lastRow - 2 are
    // Execute's; the last two rows may miss the end of a construct that runs
    // on past them. The scan starts at firstRow with state open, the state
    // the whole scan had there (the row hook's), with the languages it had
    // then in the same slots (UseLanguages); an empty state at row 0 is the
    // whole scan's start. Rows outside the range are left alone. For the
    // rows shown of a long document, without marking the whole of it.
    bool ExecuteRows(TOVSynStringList& lines, int firstRow, int lastRow) {
        return ExecuteFrom(lines, TScanState{}, firstRow, lastRow);
    }
    bool ExecuteFrom(TOVSynStringList& lines, const TScanState& state, int firstRow, int lastRow);
    // Called during a scan as it first reaches each row, with what is open
    // at the row's start and how many languages the set holds then: a scan
    // started there with that state and those languages (ExecuteFrom) goes
    // on exactly as this one does. Null for none.
    using TRowHook = std::function<void(int row, const TScanState& state, int languages)>;
    void SetRowHook(TRowHook hook) { FOnRow = std::move(hook); }
    // Makes the set's slots the first count of languages (the set another
    // highlighter's scan had at a row), dropping slots that differ or lie
    // beyond and adding the missing ones; nothing without a language.
    void UseLanguages(const std::vector<std::string>& languages, int count);
    // Execute without the wait cursor, for a worker thread (which must not
    // touch the screen); SetCancelFlag stops it early.
    bool ExecuteAway(TOVSynStringList& lines);
    // The last rows ExecuteRows marks that may differ from Execute's.
    static constexpr int UncertainRows = 2;
    // A flag another thread may set to stop a scan early (its marks are then
    // incomplete); borrowed, null for none.
    void SetCancelFlag(const std::atomic<bool>* cancel) { FCancel = cancel; }

    // Colours of a style id. An id whose slot is not loaded gets slot 0's
    // colours of the same style index, or black on white without a language.
    TStyleColors GetStyles(int id) const;
    // "Normal" .. "HTMLValue" or the item's name; empty for an id that
    // names no loaded slot.
    std::string GetStyleNameOf(int id) const;

    // The scanners. Each starts at pos, moves it and leaves it where it
    // stopped; they need Lines() set (Execute sets it).
    void ParseText(std::string_view name, std::string_view endText, TScanPos& pos);
    void ParseString(int slot, int kind, TScanPos& pos);
    void ParseBlockComment(int slot, std::string_view closer, TScanPos& pos);
    void ParseHTML(std::string_view name, TScanPos& pos);
    // The scanners' row loader (Scanrows.h) tells of each row it moves to;
    // the first time a row is reached, the row hook hears of it.
    void RowReached(int row) {
        if (row > FFrontier) {
            FFrontier = row;
            if (FOnRow)
                FOnRow(row, FState, static_cast<int>(FLanguages.size()));
        }
    }

    const std::string& LangName() const { return FLangName; }
    // A language is loaded, so a scan can run.
    bool HasLanguage() const { return !FFolder.empty() && !FLangName.empty() && !FLanguages.empty(); }
    const std::string& Folder() const { return FFolder; }
    const std::string& UserFolder() const { return FUserFolder; }
    // Slot order.
    const std::vector<std::string>& Languages() const { return FLanguages; }
    // -1 when the name is not in the set.
    int SlotOf(std::string_view name) const;
    const TOVSynLangSyntax& Syntax(int slot) const { return *FSyntaxes[slot]; }
    const TOVSynLangStyle& Style(int slot) const { return *FLangStyles[slot]; }
    TOVSynStringList* Lines() const { return FLines; }

    // folder joined with file name: "/" between them unless the folder
    // already ends in one.
    static std::string JoinPath(const std::string& folder, const std::string& fileName);

private:
    // A scanner's frame on the state while it runs (Scanrows.h); taken from
    // the state to resume when the scan starts inside the scanner.
    class TFrame;
    void ScanOpeningTag(int htmlSlot, TScanPos& pos, int nameLength);
    void ScanAttributes(int htmlSlot, TScanPos& pos, TFrame& frame);
    void LoadSlot(int slot);
    void LoadStyle(int slot, const std::string& fileName);
    // The user's copy of a language file when there is one, else "".
    std::string UserFile(const std::string& fileName) const;
    void Clear();

    // Marks the whole document, or rows up to lastRow only, from firstRow
    // on with state open at its start.
    bool Scan(TOVSynStringList& lines, const TScanState& state, int firstRow, int lastRow);
    // The frame of the next scanner inward to resume, or null.
    const TScanFrame* NextToResume() const {
        return FResumeAt < std::min(FResume.Depth, TScanState::MaxDepth)
                   ? &FResume.Frames[std::size_t(FResumeAt)]
                   : nullptr;
    }
    // The variants of TScanFrame for a section's end text and a comment's
    // closer, and back.
    int SectionOf(std::string_view endText) const;
    int CloserOf(int slot, std::string_view closer) const;
    std::string_view SectionEnd(int section) const;
    std::string_view CloserText(int slot, int closer) const;

    TOVSynStringList* FLines = nullptr;
    // The last row a scan may look at (ExecuteRows); far beyond otherwise.
    int FLastRow = INT_MAX;
    const std::atomic<bool>* FCancel = nullptr;
    TRowHook FOnRow;
    int FFrontier = -1; // the furthest row the scan has reached
    TScanState FState;  // the scanners running now
    TScanState FResume; // what to resume, from FResumeAt on
    int FResumeAt = 0;
    std::string FLangName;
    std::string FFolder;
    std::string FUserFolder;
    std::vector<std::string> FLanguages;
    std::vector<std::unique_ptr<TOVSynLangSyntax>> FSyntaxes;
    std::vector<std::unique_ptr<TOVSynLangStyle>> FLangStyles;
};

} // namespace ov
