#pragma once
// File-system services: the executable's folder, case-insensitive lookup of
// the program's own files, read-only access to viewed files and safe writing
// of the program's own files. Paths are UTF-8 (the file system's encoding).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// The folder of the running executable, with a trailing '/'. Tests may
// override it so that nothing is read from or written beside the real binary.
std::string ExeFolder();
void SetExeFolderOverride(const std::string& folder); // empty restores the real one

// Returns path when it exists; otherwise, walking the path from the root,
// replaces each missing component by an entry of its folder that matches it
// without regard to ASCII letter case. Returns path unchanged when nothing
// matches, so callers can pass the result straight to an open that fails.
std::string ResolveFileCase(const std::string& path);

// A regular file among the program's own files: the name is looked up
// without regard to case (ResolveFileCase).
bool FileExists(const std::string& path);
// A regular file at exactly this path, for files the user names: on this
// file system "a.TXT" and "a.txt" are different files.
bool ViewedFileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Whether a and b name one file: the same device and inode, symbolic links
// followed, so a hard link or a symbolic link to a file is that file. False
// when either cannot be examined (a path that does not exist yet).
bool SameFile(const std::string& a, const std::string& b);

// Names (not paths) of the regular files in folder whose name ends with
// suffix, compared without regard to case; sorted. A symbolic link to a
// regular file is listed; folders, pipes and dangling links are not.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix);

// What tells a shown file's changes apart: which file the path names (a
// rotated log is another file under the same name), its size and when it
// was last written, symbolic links followed. Exists is false, and the rest
// zero, when the path names no regular file.
struct TFileState {
    bool Exists = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNanoseconds = 0;

    bool SameFileAs(const TFileState& other) const {
        return Exists && other.Exists && Device == other.Device && Inode == other.Inode;
    }
    bool operator==(const TFileState&) const = default;
};
TFileState FileStateOf(const std::string& path);
// False for the file systems whose change notification misses what other
// machines write (network and user-space file systems): their files are
// watched by polling them often. True when it cannot be told.
bool ChangesAreNotified(const std::string& path);

// A viewed file, opened for reading only; it is never written. The size is
// 64-bit, so files of 4 GiB and more are handled.
class TReadOnlyFile {
public:
    TReadOnlyFile() = default;
    ~TReadOnlyFile();
    TReadOnlyFile(const TReadOnlyFile&) = delete;
    TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;

    // A regular file that reports a size of 0 may still have content (the
    // kernel's files such as /proc/cpuinfo are made as they are read): such
    // a file is read here, without waiting, up to its end, up to the point
    // where it would have to wait for more (/proc/kmsg), or up to
    // MaxUnsizedFileBytes, and Size and ReadAt then serve that copy.
    bool Open(const std::string& path);
    void Close();
    // The same opening once more (its descriptor duplicated), for a worker
    // that reads the file while its first opening may be closed. False, with
    // this file closed, when opened is closed or unsized.
    bool OpenAgain(const TReadOnlyFile& opened);
    bool IsOpen() const { return FHandle >= 0 || FUnsized; }
    // True for a file that reported a size of 0, read whole at Open. Opening
    // its path again may give other bytes or none (/proc/kmsg hands out each
    // message once), so whoever shows such a file reads this opening (shared
    // as a TSharedFile) rather than the path. Its descriptor is closed once
    // read: keeping the opening keeps only the copy.
    bool IsUnsized() const { return FUnsized; }
    // Current size, or -1 when it cannot be read.
    int64_t Size() const;
    // Reads up to count bytes at offset; returns the number read (0 at or past
    // the end, -1 on error). Short reads are retried until end of file.
    int64_t ReadAt(int64_t offset, void* buffer, int64_t count) const;
    // The descriptor of the opening, for mapping it (TMappedFile); -1 while
    // closed and for an unsized file. Borrowed: the file keeps it.
    int Handle() const { return FHandle; }

    // The largest text opened without asking first (100 MiB): the size of
    // an unsized file is known only once read, too late to ask.
    static constexpr int64_t MaxUnsizedFileBytes = 104857600;

private:
    void ReadUnsizedContent();

    int FHandle = -1;
    bool FUnsized = false;
    std::string FContent; // the content of an unsized file
};

// One opening of a viewed file, shared by the readers of one showing: the
// content test, the loader and the hex view.
using TSharedFile = std::shared_ptr<const TReadOnlyFile>;
// Opens path for reading (TReadOnlyFile::Open); null when it cannot be.
TSharedFile OpenSharedFile(const std::string& path);
// Whether path can be opened for reading as a viewed file, without reading
// it (and so without taking what a file such as /proc/kmsg gives once).
bool ViewedFileReadable(const std::string& path);

// The outcome of a write: success, or the system's error number saying why
// it failed, so that a message can tell the user.
struct TWriteResult {
    int Error = 0; // errno; 0 for success

    explicit operator bool() const { return Error == 0; }
    bool Ok() const { return Error == 0; }
    // Why the write failed, as a Korean sentence for a message; empty on
    // success.
    std::string Reason() const;
    // The result of the last system call that failed (errno).
    static TWriteResult FromErrno();
};

// A file the program writes itself (saved lines, exported pages): created
// or truncated, written sequentially. The first error is remembered; Close
// reports it, or whether closing failed. A named pipe that nobody reads is
// not waited for: Create fails with ENXIO.
class TWriteFile {
public:
    TWriteFile() = default;
    ~TWriteFile();
    TWriteFile(const TWriteFile&) = delete;
    TWriteFile& operator=(const TWriteFile&) = delete;

    TWriteResult Create(const std::string& path);
    void Write(const void* data, std::size_t count);
    TWriteResult Close();

private:
    int FHandle = -1;
    int FError = 0;
};

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Output made as it is written, so that a large file (an exported page) is
// never held whole. The producer hands its pieces, in order, to the writer it
// is given; the writer returns false once writing has failed, and the
// producer should then stop. The producer returns false when it cannot make
// the whole output: the write is abandoned and its result is ECANCELED (or
// the failed write's own error). An exception from the producer abandons the
// write the same way and is passed on.
using TPieceWriter = std::function<bool(std::string_view piece)>;
using TContentProducer = std::function<bool(const TPieceWriter& write)>;

// Whether a write into a named pipe waits for a program to read it. The
// program's own saves do not: a pipe nobody reads would hold it for good.
enum class TPipeWait { FailWithoutReader, WaitForReader };

// Writes data to a temporary file beside path and renames it over path, so a
// failure never leaves a half-written file. A symbolic link is followed: its
// final target is replaced and the link stays. The replaced file's owner,
// group and mode are kept; a new file gets the mode the umask gives. An
// existing file the user may not write (no write permission for the user,
// or none at all) is left as it is, with EACCES (or EROFS). A file of
// another owner that the user may write, where the owner cannot be kept, and
// an existing target that is not a regular file (a named pipe, a device) are
// written straight into, since a rename would put the user's own plain file
// in their place (what was written before a failure then stays written). A
// named pipe without a reader gives ENXIO at once, unless wait says to wait
// for one; a reader that goes away gives EPIPE. A folder gives EISDIR.
TWriteResult WriteFileAtomically(const std::string& path, const std::string& data,
                                 TPipeWait wait = TPipeWait::FailWithoutReader);
// The same with the content made piece by piece: an existing file is left
// whole, and no temporary file stays, when the producer or a write fails.
TWriteResult WriteFileAtomically(const std::string& path, const TContentProducer& produce,
                                 TPipeWait wait = TPipeWait::FailWithoutReader);

// True for an existing regular file (a link followed) that the user may not
// write: WriteFileAtomically leaves it as it is.
bool IsWriteProtected(const std::string& path);

// Creates or truncates path and writes data.
TWriteResult WriteWholeFile(const std::string& path, const std::string& data);

// Writes data to the standard output.
TWriteResult WriteStandardOutput(const std::string& data);
// Writes the producer's pieces to the standard output as they come.
TWriteResult WriteStandardOutput(const TContentProducer& produce);

// A file name the user gave, as a path from the root, so that it names the
// same file from any folder ("./" in front dropped). The name stays as given
// when it is absolute already, when the working folder cannot be read, and
// when the whole path would be longer than the system's limit for a path
// (PATH_MAX), which no call would take: such a file is then opened relative
// to the working folder.
std::string AbsoluteFileName(std::string_view name);

// "dir/name.ext" -> "dir/"; a path without '/' gives "".
std::string ExtractFilePath(const std::string& path);
// "dir/name.ext" -> "name.ext"
std::string ExtractFileName(const std::string& path);
// "dir/name.ext" -> ".ext" (the last dot of the file name, with the dot); "" when none.
std::string ExtractFileExt(const std::string& path);

} // namespace ov
