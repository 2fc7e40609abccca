#pragma once
// The line lists of the program: TOVStringList (lines of 8-bit code-page
// text, each with an opaque object value, batched change notification),
// TOVSynStringList (the document: one style byte per text byte) and
// TOVHashedStringList (keyword lists answered from a hash table).
//
// Texts never contain CR or LF; texts the list owns never contain NUL, but
// the lines of a mapped file may, and every reader shows such a NUL as a
// blank (ShownByte, ShownView): the mapping is never written. Entry texts
// are owned by the list; a
// pointer from Get stays valid until that entry is replaced or removed, or
// the list is cleared. The byte after a text is NUL, CR or LF, never part of
// it: a list that views a mapped file (LoadViewedFile) reads its lines where
// they lie, ended by their line ends, and copies them into storage of its own
// only when it is first changed. A list reads its lines through one
// read-only interface (Viewedtext.h), whichever of the two it holds.

#include "Charcoding.h"
#include "Filecoding.h"
#include "Mappedlines.h"
#include "Viewedtext.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

class TConvertedText;
class TOVStringList;
class TReadOnlyFile;
using TStringListNotify = std::function<void(TOVStringList* sender)>;

// Style byte of the document: signed; +s opens a construct of style s on its
// first byte, -s closes it on its last byte, 0 is no mark.
using TStyleByte = std::int8_t;

class TOVStringList {
public:
    TOVStringList();
    virtual ~TOVStringList();
    TOVStringList(const TOVStringList&) = delete;
    TOVStringList& operator=(const TOVStringList&) = delete;

    // The overridable operations. Every addition, removal, clearing and
    // capacity change of the list passes through one of them.

    // Accepts a source whose class is exactly TOVStringList; anything else
    // throws EConvertError "Cannot assign a <source> to a <target>".
    virtual void Assign(const TOVStringList& source);
    // Notification step: nothing while an update is open; otherwise sorts a
    // sorted list, calls OnChange, clears TextReplaced.
    virtual void Changed();
    virtual void SetCapacity(int newCapacity);
    int Add(std::string_view text) { return AddObject(text, 0); }
    virtual int AddObject(std::string_view text, std::intptr_t object);
    virtual void Clear();
    virtual void Delete(int index);
    virtual int IndexOf(std::string_view text);
    // 0 <= index < Count; appending is Add's job.
    virtual void Insert(int index, std::string_view text);
    virtual void AddStrings(const TOVStringList& source);
    // Reads 8-bit text, or UTF-16 LE after the byte-order mark FF FE converted
    // to the code page. A file that cannot be opened leaves the list as it is.
    // Files over 100 MiB ask first. NUL bytes inside 8-bit text read as spaces
    // so that the rest of the file is still shown.
    virtual void LoadFromFile(const std::string& fileName);
    // Opens a file to view it in its own encoding (Filecoding.h): CP949 text
    // exactly as LoadFromFile reads it; UTF-8 kept byte for byte (a
    // byte-order mark left out); every other encoding (UTF-16, UTF-32, the
    // Japanese, Chinese and 8-bit ones), after its mark, turned into UTF-8
    // with U+FFFD for what does not decode. 8-bit text of a
    // regular file is mapped, not copied (Mappedlines.h), so the memory a
    // file needs is its line index; the memory check is made on that. choice imposes
    // a reading on text without a byte-order mark (ChosenEncoding). The coding tag follows. The
    // same checks and failures as LoadFromFile; returns the encoding read,
    // or nothing when the file was not loaded (the list is then unchanged).
    std::optional<TFileEncoding> LoadViewedFile(const std::string& fileName,
                                                TCodingChoice choice = TCodingChoice());
    // The same for a file already opened, read through that opening (a file
    // that gives its content once is read once for its test and its text).
    std::optional<TFileEncoding> LoadViewedFile(const TReadOnlyFile& file,
                                                TCodingChoice choice = TCodingChoice());
    // A large mapped file is indexed in the background after its first
    // part (Mappedlines.h): Count covers the lines taken so far. Loading is
    // true until every line is taken; TakeLoadedLines, on the list's own
    // thread, takes what the worker has found and calls OnAppend when Count
    // grew; FinishLoading waits for the rest and takes it without a call.
    // Both throw EOutOfMemory once when the index had to stop early.
    bool Loading() const { return FText->Pending(); }
    double LoadProgress() const { return FText->Progress(); }
    // True while the entries are a mapped file's lines, which hold that many
    // bytes of text.
    bool Mapped() const { return FMapped != nullptr; }
    std::uint64_t MappedBytes() const { return FMapped ? FMapped->Bytes() : 0; }
    // Makes this list another view of source's mapped, wholly loaded text
    // (no copy, no objects): a worker may read it while the source is read
    // on its own thread, as neither changes it. False when source is not
    // such a list.
    bool ShareMappedText(const TOVStringList& source);
    // The same for a mapped text still being indexed: this list views the
    // lines source has taken so far, and only those, for a reader on
    // another thread (the taken lines never change while the index grows).
    // It must never take lines itself (TakeLoadedLines, FinishLoading) nor
    // ask Loading: the index belongs to source's thread. False when source
    // is not a mapped text.
    bool ShareTakenLines(const TOVStringList& source);

    // For a reader on another thread that goes beyond the lines taken so
    // far (a search ahead of the index): the mapped text from the first byte
    // of line to the end of the text, and a share of the mapping that keeps
    // those bytes valid while it is held, whatever becomes of the list.
    // Empty when the list is not mapped; line is checked as Get.
    struct TMappedTail {
        std::shared_ptr<const TMappedLines> Hold;
        std::string_view Text;
    };
    TMappedTail MappedTail(int line) const;

    bool TakeLoadedLines();
    void FinishLoading();
    TStringListNotify OnAppend;
    // Takes what the mapped file has grown by (TMappedLines::Grow) and calls
    // OnAppend: lines appended, and the old last line longer when it had no
    // line end yet. While OnAppend runs, GrownFrom is the first line whose
    // text changed (INT_MAX at any other time). False, with nothing changed,
    // when the list is not a mapped file's whole text, another list shares
    // the text (ShareMappedText), or the index cannot grow in place; the
    // owner reads the file anew then.
    bool GrowMappedText();
    int GrownFrom() const { return FGrownFrom; }
    // How the next viewed file is loaded; a setting of the list, not of its
    // text (Assign leaves it).
    const TLoadPolicy& LoadPolicy() const { return FLoadPolicy; }
    void SetLoadPolicy(const TLoadPolicy& policy) { FLoadPolicy = policy; }

    // Every entry followed by one LF. Failure is silent; returns false on it.
    virtual bool SaveToFile(const std::string& fileName);

    // Entry access; an index outside 0 .. Count - 1 throws ERangeError.
    const char* Get(int index) const;
    // The entry's length in bytes (its text holds no NUL).
    int GetLength(int index) const;
    std::string_view GetView(int index) const { return {Get(index), std::size_t(GetLength(index))}; }
    // The entry as shown (ShownText): the same checks as Get. Only a mapped
    // line holding a NUL is copied.
    std::string_view ShownView(int index, std::string& buffer) const {
        CheckIndex(index, "TOVStringList.Get");
        return FText->Shown(index, buffer);
    }
    // The same without the range check, for loops that have already bounded
    // their rows (0 <= index < Count() is the caller's promise): the
    // highlighter's scanners ask once per token.
    const char* RowText(int index) const { return FText->Text(index); }
    int RowLength(int index) const { return FText->Length(index); }
    // The length of the longest row among first .. end - 1, unchecked as
    // RowText; a mapped file answers most of it from its index.
    int LongestRow(int first, int end) const { return FText->Longest(first, end); }
    // The row as shown, unchecked as RowText, for a reader that asks for
    // the same rows again and again, a token at a time (the scanners): a
    // mapped row is looked at for NUL bytes once while it is the last one
    // asked for, and one that holds them is copied with blanks once; keep
    // shares that copy, so that the text stays valid while keep holds it.
    std::string_view ShownRowText(int index, std::shared_ptr<const std::string>& keep) {
        return FText->ShownRow(index, keep);
    }
    // The lines, read-only, in whichever form the list holds them.
    const TViewedText& ViewedText() const { return *FText; }
    void Set(int index, std::string_view text);
    std::intptr_t GetObject(int index) const;
    void SetObject(int index, std::intptr_t object);

    void Sort();
    void SetSorted(bool sorted);
    bool Sorted() const { return FSorted; }

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    bool GetUpdating() const { return FUpdateCount != 0; }
    int UpdateCount() const { return FUpdateCount; }

    int Count() const { return FCount; }
    int Capacity() const { return FCapacity; }
    bool TextReplaced() const { return FTextReplaced; }

    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char delimiter) { FDelimiter = delimiter; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive) { FCaseSensitive = caseSensitive; }

    // How the bytes of the entries form characters (Charcoding.h). A tag
    // only: setting it converts nothing. Kept by Clear, copied by Assign;
    // LoadFromFile, the CP949 reader, sets CP949. Whoever fills the list
    // with text of another coding sets the tag before the update bracket
    // closes, so that listeners see text and tag together.
    TTextCoding Coding() const { return FCoding; }
    void SetCoding(TTextCoding coding) { FCoding = coding; }
    const TCharCoding& CharCoding() const { return CharCodingOf(FCoding); }

    TStringListNotify OnChange;

    // Whole-text operations. Both splitters end lines at CR LF, LF and CR,
    // run in one update bracket and set TextReplaced before its end.
    // The text ends at its first NUL.
    void SetTextStr(const char* text);
    // UTF-16 units ended by a zero unit; each line converted to the code page.
    void SetUnicodeTextStr(const char16_t* text);
    std::string GetDelimitedText() const;
    // Splits at LF, CR and Delimiter; runs of separators give no empty entries
    // (but a leading separator gives one). Tokens longer than 255 bytes are
    // kept whole. Does nothing when Delimiter is 0.
    void SetDelimitedText(std::string_view text);

    // The class name used in error labels and the refusal of Assign.
    virtual const char* ClassName() const { return "TOVStringList"; }

protected:
    // Runs change inside BeginUpdate/EndUpdate, so the listener hears of it
    // once; the bracket is closed also when change throws.
    template <typename TChange> void Batch(TChange&& change) {
        BeginUpdate();
        try {
            change();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    }
    // The body of Assign once the source is accepted: clears, copies the
    // flags and the delimiter, then the entries through AddStrings.
    void AssignFrom(const TOVStringList& source);
    void Grow();
    void CheckIndex(int index, const char* label) const;
    // The lines of a converted text, once every one has come, become the
    // list's own. Nothing otherwise.
    void OwnConvertedText();
    // Ends the mapped view before a change: every line is copied into the
    // list's own storage (entries keep their indexes), then TextOwned runs.
    // Nothing when not mapped.
    void OwnText();
    // Sizes the per-entry slots to Capacity where a converted text taken
    // over left them short, then TextOwned runs. Nothing otherwise.
    void SizeSlots();
    // The entries have just become the list's own, with a capacity of Count;
    // derived lists size their parallel data to it.
    virtual void TextOwned() {}
    void SetTextReplaced() { FTextReplaced = true; }
    // Exchanges entries i and j; derived lists exchange their parallel data too.
    virtual void Exchange(int i, int j);
    // Set has just stored a new text of another length at index (before the
    // notification); derived lists resize their parallel data.
    virtual void TextSet(int /*index*/, int /*oldLength*/) {}
    // The mapped text grew (GrowMappedText): lines from first on are new or
    // longer than they were; runs before OnAppend.
    virtual void TextGrown(int /*first*/) {}
    char* AllocateBlock(std::size_t size) { return FArena.Allocate(size); }

private:
    void QuickSort(int left, int right);
    char* CopyText(std::string_view text);
    // Clear, then fill, in one batch that ends with TextReplaced set.
    template <typename TFill> void ReplaceWholeText(TFill&& fill);
    // Reads the bytes start .. size - 1 of file as lines, NUL bytes as spaces.
    void LoadStream(const TReadOnlyFile& file, std::int64_t start, std::int64_t size);
    // Makes the entries the mapped lines (the list holding none before).
    void ViewMapped(std::shared_ptr<TMappedLines> lines);
    // Views the 8-bit text of the opened file from byte start on where it
    // lies; false (the list untouched) when it cannot be mapped.
    bool MapFile(const TReadOnlyFile& file, std::int64_t start);
    // Reads the bytes start .. size - 1, text of the iconv charset, as UTF-8
    // lines: U+FFFD for each unit that does not decode. A text larger than
    // the policy's first part is read on a worker (TConvertedText), when
    // the file can be opened again for it.
    void LoadConverted(const TReadOnlyFile& file, std::int64_t start, std::int64_t size,
                       const char* charset);
    // The checks before a file of size bytes is loaded: false when the size
    // is unknown or the user declines a large file; for a copied file,
    // EOutOfMemory when it cannot fit (CheckCopyFits).
    static bool MayLoad(std::int64_t size, bool copied);
    static void CheckCopyFits(std::int64_t size);
    // The 8-bit text of a viewed file from byte start on: mapped, or read
    // into the list's own storage when the file cannot be mapped.
    void LoadViewedText(const TReadOnlyFile& file, std::int64_t start, std::int64_t size);
    // ReplaceWholeText for a loaded file of the coding: a failed load leaves
    // the list empty, and running out of memory is reported as such.
    template <typename TFill> void ReplaceLoadedText(TTextCoding coding, TFill&& fill);

    // The entries while the list owns its text; empty while it is mapped.
    TOwnedText FOwned;
    // Set while the entries are a mapped file's lines; FObjects is then
    // empty (every object value is 0).
    std::unique_ptr<TMappedText> FMapped;
    // Set while a converted text is still read by its worker; its lines
    // become the list's own once every one has come.
    std::unique_ptr<TConvertedText> FConverted;
    // The one of them the entries are read from.
    TViewedText* FText = &FOwned;
    std::vector<std::intptr_t> FObjects;
    int FCapacity = 0;
    // FText's Count, read on every access.
    int FCount = 0;
    int FUpdateCount = 0;
    bool FSorted = false;
    bool FTextReplaced = false;
    char FDelimiter = ' ';
    bool FCaseSensitive = false;
    TTextCoding FCoding = TTextCoding::Cp949;
    TBlockArena FArena;
    int FGrownFrom = INT_MAX;
    TLoadPolicy FLoadPolicy;
};

// The document of the text viewer: one style byte per text byte of every
// line, kept with its line through every change. Style bytes of a new line
// are 0. A line's style bytes are stored only once one of them is written;
// until then its readers get shared zeros, so a document without marks
// costs no memory for them.
class TOVSynStringList : public TOVStringList {
public:
    TOVSynStringList() = default;
    ~TOVSynStringList() override;

    void Assign(const TOVStringList& source) override;
    void SetCapacity(int newCapacity) override;
    int AddObject(std::string_view text, std::intptr_t object) override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, std::string_view text) override;
    void AddStrings(const TOVStringList& source) override;

    // The row is validated (ERangeError); the column must lie within the row.
    TStyleByte GetStyleID(int row, int column) const;
    void SetStyleID(int row, int column, TStyleByte style);
    // Clears the marks of every row, or of rows firstRow .. lastRow.
    void ClearStyles() { ClearStyles(0, INT_MAX); }
    void ClearStyles(int firstRow, int lastRow);

    // How the list keeps the marks written to it.
    enum class TMarkMode {
        // Every row's marks, for as long as the text lasts.
        All,
        // A moving window of rows handed over as they become final
        // (StreamMarks).
        Streamed,
        // Rows from a first row on, none handed over or dropped (WindowMarks).
        Windowed,
    };
    TMarkMode MarkMode() const { return FMarkMode; }

    // Marks kept for a moving window of rows only, for a scan whose rows are
    // used as soon as they are final (a page written as the rows are
    // marked): when the scan first reaches a row (ScanReached), final(end)
    // is called, every row before end being final, and their marks are then
    // dropped. A null function goes back to keeping all marks. The marks the
    // list held before are dropped. A scan that starts at a later row names
    // it as first: no row before it is kept or handed over.
    void StreamMarks(std::function<void(int end)> final, int first = 0);
    // Marks kept for rows from first on only, none handed over or dropped
    // (for a view that marks the rows it shows from a row before them):
    // rows before first read as unmarked, marks written to them go nowhere.
    // The marks held before are dropped. StreamMarks(nullptr) ends it.
    void WindowMarks(int first);
    // Called by the scanners as they move to a row.
    void ScanReached(int row) {
        if (FMarkMode == TMarkMode::Streamed && row > FWindow.Frontier)
            AdvanceStream(row);
    }

    // Direct access to a row's style bytes (GetLength(row) of them) for the
    // scanners and the painter; the row is validated. The writable form
    // stores the row's bytes; readers use the const form.
    const TStyleByte* GetStyleBytes(int row) const;
    TStyleByte* GetStyleBytes(int row);
    // Unchecked, as RowText.
    TStyleByte* RowStyles(int row) {
        TStyleByte* styles = StoredStyles(row);
        return styles ? styles : StoreStyles(row);
    }
    const TStyleByte* RowStyles(int row) const {
        const TStyleByte* styles = StoredStyles(row);
        return styles ? styles
                      : reinterpret_cast<const TStyleByte*>(
                            ZeroBytes(static_cast<std::size_t>(RowLength(row))));
    }

    const char* ClassName() const override { return "TOVSynStringList"; }

protected:
    void Exchange(int i, int j) override;
    // Set gives the line a style array of its new length: the marks of the
    // bytes both texts have are kept, the rest are 0.
    void TextSet(int index, int oldLength) override;
    void TextOwned() override;
    // Marks of the grown lines are dropped: their style arrays were made for
    // the old lengths.
    void TextGrown(int first) override;

private:
    TStyleByte* NewStyles(std::size_t length);
    // The rows a Streamed or Windowed list keeps: First .. First +
    // Rows.size() - 1.
    struct TMarkWindow {
        // Streamed only: hands rows before end over.
        std::function<void(int end)> Final;
        int First = 0;
        // Streamed only: the furthest row the scan has reached.
        int Frontier = 0;
        std::deque<std::unique_ptr<TStyleByte[]>> Rows;
        std::vector<TStyleByte> Scratch; // for a row before First
        TStyleByte* Stored(int row) const {
            const auto at = static_cast<std::size_t>(row - First);
            return row >= First && at < Rows.size() ? Rows[at].get() : nullptr;
        }
    };
    // Rows a scan may still change once it has reached a row: the row before
    // it, where a string continued onto an empty row ends.
    static constexpr int StreamBackRows = 1;

    TStyleByte* StoredStyles(int row) const {
        if (FMarkMode != TMarkMode::All)
            return FWindow.Stored(row);
        return static_cast<std::size_t>(row) < FStyles.size() ? FStyles[static_cast<std::size_t>(row)]
                                                              : nullptr;
    }
    // Drops every mark and every window and keeps marks in mode from now on.
    void ResetMarks(TMarkMode mode);
    void AdvanceStream(int row);
    TStyleByte* StoreStyles(int row);

    TMarkMode FMarkMode = TMarkMode::All;
    // All: null for a row without stored style bytes. Sized with the
    // capacity; while the text is mapped, empty until the first row's bytes
    // are stored. In the other modes every slot is null.
    std::vector<TStyleByte*> FStyles;
    // Streamed and Windowed: the rows kept. Empty while All.
    TMarkWindow FWindow;
};

// Hash table of the keyword lists: 256 chains of nodes that point at the
// list's own entry texts (keys are not copied).
class TOVStringHash {
public:
    explicit TOVStringHash(int bucketCount);
    virtual ~TOVStringHash();
    TOVStringHash(const TOVStringHash&) = delete;
    TOVStringHash& operator=(const TOVStringHash&) = delete;

    virtual std::uint32_t HashKey(std::string_view key) const;
    void AddKey(const char* key, int value);
    void ClearKeys();
    int IndexOfKey(std::string_view key) const;

    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive) { FCaseSensitive = caseSensitive; }

private:
    struct TNode {
        TNode* Next;
        const char* Key;
        int Value;
    };
    const TNode* FindKey(std::string_view key) const;

    std::vector<TNode*> FBuckets;
    bool FCaseSensitive = false;
};

class TOVHashedStringList : public TOVStringList {
public:
    TOVHashedStringList();

    void Changed() override;
    // Answered from the table, rebuilt first when stale; a text present
    // several times is found at its highest index.
    int IndexOf(std::string_view text) override;
    void RebuildHash();

    const char* ClassName() const override { return "TOVHashedStringList"; }

protected:
    void Exchange(int i, int j) override;

private:
    TOVStringHash FHash{256};
    bool FHashValid = false;
};

} // namespace ov
