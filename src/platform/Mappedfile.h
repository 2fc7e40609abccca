#pragma once
// A viewed file mapped into memory, so that its text is read where it lies
// instead of being copied. The mapping is read-only: a write into it faults.
// Its pages are the file's own cached pages, so they cost the program no
// memory of its own; readers that want a NUL byte shown otherwise translate
// it as they read.
//
// Another program may shrink the file while it is shown. Reading a page past
// the file's new end raises SIGBUS; a handler installed with the first
// mapping puts a read-only page of zeros in its place (the system's shared
// zero page: no memory either), so the view shows NUL bytes where the text
// went instead of the program dying. CurrentSize tells a reader where the
// file now ends, so that it can stop there.
//
// At least one zero byte follows the data (also when the file's size is a
// whole number of pages), so a scan that stops at NUL stops there.

#include <cstddef>
#include <cstdint>
namespace ov {

class TReadOnlyFile;

class TMappedFile {
public:
    TMappedFile() = default;
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;

    // Maps the whole of an opened regular file, through the opening itself:
    // the file mapped is the one that was opened and checked, even when its
    // path has since been given to another file or a named pipe. False, with
    // nothing mapped, when the file is not open, is not a regular file, is
    // empty (the kernel's files report a size of 0 and are read instead) or
    // cannot be mapped. The mapping does not need the opening once made.
    //
    // The address range kept for the mapping reaches GrowthRoom bytes past
    // the file's end (address space only, no memory), so that a file that
    // grows can be mapped further in place (Grow).
    bool Map(const TReadOnlyFile& file);
    void Unmap();
    // Maps what the file has grown by since it was mapped, at the same
    // address: every pointer into the mapping stays valid, and Data() holds
    // Size() bytes then. The new size; Size() unchanged when the file has not
    // grown, has shrunk, or would pass the range kept for it (the caller maps
    // the file anew then).
    std::int64_t Grow();
    // How far the mapping can grow (Size() included).
    std::int64_t Capacity() const {
        return FLength > 0 ? static_cast<std::int64_t>(FLength) - 1 : 0;
    }
    static constexpr std::int64_t GrowthRoom = std::int64_t(1) << 32;

    bool IsMapped() const { return FData != nullptr; }
    const char* Data() const { return FData; }
    // The size when mapped: Data() holds that many bytes and a zero after.
    std::int64_t Size() const { return FSize; }
    // The file's size now, which another program may have made smaller or
    // larger than Size(); Size() when it cannot be told. Safe from any thread.
    std::int64_t CurrentSize() const;

    // Pages that a SIGBUS replaced with zeros since the program started:
    // how the tests see that the handler ran.
    static std::int64_t ReplacedPages();

private:
    char* FData = nullptr;
    std::int64_t FSize = 0;
    int FHandle = -1; // kept open for CurrentSize
    std::size_t FLength = 0; // of the whole reservation, guard included
};

// count zero bytes that cost no memory: read-only pages of zeros shared by
// every caller, never released (EOutOfMemory when they cannot be had). For
// readers that want "no marks" for a row
// of any length without allocating them.
const char* ZeroBytes(std::size_t count);

} // namespace ov
