#pragma once
// The text a line list shows, read-only (TViewedText), in its two forms:
// lines the list owns and edits (TOwnedText), and a mapped file's lines read
// where they lie (TMappedText). A list reads its lines through TViewedText
// only; which form it holds matters only where the list changes its text.

#include "Mappedlines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// Storage of the entry texts (and, in the styled list, the style bytes):
// large chunks carved into blocks, released all at once. A replaced or
// deleted entry's block is not reused until the list is cleared; the lists of
// this program are filled once and then read.
class TBlockArena {
public:
    TBlockArena() = default;
    TBlockArena(const TBlockArena&) = delete;
    TBlockArena& operator=(const TBlockArena&) = delete;

    // A block of size bytes, 4-byte aligned. Throws EOutOfMemory.
    char* Allocate(std::size_t size);
    void Release();
    std::size_t Reserved() const { return FReserved; }
    // Takes other's chunks, whose blocks stay where they are; other is
    // empty afterwards.
    void Append(TBlockArena&& other);

private:
    std::vector<std::unique_ptr<char[]>> FChunks;
    char* FNext = nullptr;
    std::size_t FLeft = 0;
    std::size_t FReserved = 0;
};

// Stores a line as a list keeps its own: its 32-bit length, its bytes and a
// NUL; returns the bytes. EOutOfMemory when it cannot be had or the line is
// longer than a list can count.
char* StoreLine(TBlockArena& arena, std::string_view text);
// The length of a line so stored.
inline std::int32_t StoredLength(const char* text) {
    std::int32_t length;
    std::memcpy(&length, text - sizeof length, sizeof length);
    return length;
}

// Lines of text, each read unchecked: 0 <= line < Count() is the caller's
// promise. A line's text is not NUL-terminated by contract: the byte after
// it is NUL, CR or LF, never part of it.
//
// A text may grow after it is first shown (a mapped file indexed in the
// background): Count covers the lines taken so far, and only Take and
// Finish, on the owner's thread, change it, so that Count never changes
// under a reader.
class TViewedText {
public:
    TViewedText() = default;
    virtual ~TViewedText() = default;
    TViewedText(const TViewedText&) = delete;
    TViewedText& operator=(const TViewedText&) = delete;

    virtual int Count() const = 0;
    virtual const char* Text(int line) const = 0;
    virtual int Length(int line) const = 0;
    std::string_view View(int line) const { return {Text(line), std::size_t(Length(line))}; }
    // The length of the longest line among first .. end - 1 (0 for none).
    virtual int Longest(int first, int end) const {
        int longest = 0;
        for (int line = first; line < end; ++line)
            longest = std::max(longest, Length(line));
        return longest;
    }
    // The line as shown, every NUL a blank (ShownText): the line itself, or
    // a copy in buffer.
    virtual std::string_view Shown(int line, std::string& buffer) const = 0;
    // The same for a reader that asks for the same lines again and again, a
    // token at a time (the scanners): a line is looked at for NUL bytes once
    // while it is the last one asked for, and one that holds them is copied
    // once; keep shares that copy, so that the text stays valid while keep
    // holds it.
    virtual std::string_view ShownRow(int line, std::shared_ptr<const std::string>& keep) = 0;

    // True while more lines are to come.
    virtual bool Pending() const { return false; }
    // How much of the text has been found, 0 .. 1.
    virtual double Progress() const { return 1.0; }
    // Takes the lines that have arrived; true when Count grew. May throw
    // EOutOfMemory once when finding the rest had to stop early.
    virtual bool Take() { return false; }
    // Waits for the rest and takes it.
    virtual void Finish() {}
};

// Lines the list owns: each a block of the list's storage holding the
// line's 32-bit length, its bytes and a NUL. Such a line holds no NUL, so it
// is shown as it is. The blocks are the list's (TBlockArena); this holds the
// pointers to them, in slots for the list's capacity.
class TOwnedText final : public TViewedText {
public:
    int Count() const override { return FCount; }
    const char* Text(int line) const override { return FLines[static_cast<std::size_t>(line)]; }
    int Length(int line) const override { return StoredLength(Text(line)); }
    std::string_view Shown(int line, std::string&) const override { return View(line); }
    std::string_view ShownRow(int line, std::shared_ptr<const std::string>& keep) override {
        keep.reset();
        return View(line);
    }

    // Editing, for the owning list, which validates indexes and capacity.
    int Capacity() const { return static_cast<int>(FLines.size()); }
    // Never below Count; 0 releases the slots. Throws std::bad_alloc.
    void SetCapacity(int capacity);
    // The slot of a line, to replace its block.
    char*& Line(int line) { return FLines[static_cast<std::size_t>(line)]; }
    // These need a free slot (Count < Capacity).
    void Append(char* text) { FLines[static_cast<std::size_t>(FCount++)] = text; }
    void Insert(int line, char* text);
    void Delete(int line);
    void Exchange(int i, int j) { std::swap(Line(i), Line(j)); }
    // Takes lines already copied into blocks; the capacity becomes their count.
    void Adopt(std::vector<char*>&& lines);

private:
    std::vector<char*> FLines;
    int FCount = 0;
};

// A mapped file's lines read where they lie (Mappedlines.h), found in the
// background for a large file; such a line may hold NUL bytes. Several lists
// may view the same lines, each through a TMappedText of its own.
class TMappedText final : public TViewedText {
public:
    explicit TMappedText(std::shared_ptr<TMappedLines> lines) : FLines(std::move(lines)) {}

    int Count() const override { return FLines->Count(); }
    const char* Text(int line) const override { return FLines->Text(line); }
    int Length(int line) const override { return FLines->Length(line); }
    int Longest(int first, int end) const override { return FLines->Longest(first, end); }
    std::string_view Shown(int line, std::string& buffer) const override;
    std::string_view ShownRow(int line, std::shared_ptr<const std::string>& keep) override;

    bool Pending() const override { return FLines->Pending(); }
    double Progress() const override { return FLines->Progress(); }
    bool Take() override { return FLines->Take(); }
    void Finish() override { FLines->Finish(); }

    // Takes what the file grew by (TMappedLines::Grow); never while another
    // list views the same lines, whose count would no longer say where its
    // last line ends.
    bool Grow() {
        if (FLines.use_count() > 1 || !FLines->Grow())
            return false;
        FShownRow = -1;
        FShownCopy.reset();
        return true;
    }
    // Bytes of text when the file was mapped.
    std::uint64_t Bytes() const { return FLines->Bytes(); }
    // The lines, to view them again from another list; only a text with
    // nothing pending may be shared, as taking lines changes them for all.
    const std::shared_ptr<TMappedLines>& Lines() const { return FLines; }

private:
    std::shared_ptr<TMappedLines> FLines;
    // The last line ShownRow looked at, and its copy when it holds a NUL.
    int FShownRow = -1;
    std::shared_ptr<const std::string> FShownCopy;
};

} // namespace ov
