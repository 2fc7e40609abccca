#include "Files.h"

#include <dirent.h>
#include <limits.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <strings.h>

namespace ov {

namespace {

std::string& ExeFolderOverride() {
    static std::string folder;
    return folder;
}

std::string RealExeFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<size_t>(n));
    return ExtractFilePath(path);
}

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The entry of folder whose name equals name without regard to ASCII case.
std::optional<std::string> FindEntryNoCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> found;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

} // namespace

std::string ExeFolder() {
    if (!ExeFolderOverride().empty())
        return ExeFolderOverride();
    static const std::string folder = RealExeFolder();
    return folder;
}

void SetExeFolderOverride(const std::string& folder) {
    ExeFolderOverride() = folder;
    if (!folder.empty() && folder.back() != '/')
        ExeFolderOverride() += '/';
}

std::string ResolveFileCase(const std::string& path) {
    if (path.empty() || PathExists(path))
        return path;
    std::string resolved;
    size_t pos = 0;
    if (path[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        if (slash == std::string::npos)
            slash = path.size();
        std::string part = path.substr(pos, slash - pos);
        if (!part.empty()) {
            std::string candidate = resolved + part;
            if (!PathExists(candidate)) {
                std::optional<std::string> entry = FindEntryNoCase(resolved, part);
                if (!entry)
                    return path;
                candidate = resolved + *entry;
            }
            resolved = candidate;
        }
        if (slash < path.size())
            resolved += '/';
        pos = slash + 1;
    }
    return resolved;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(ResolveFileCase(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ViewedFileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

TFileState FileStateOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool ChangesAreNotified(const std::string& path) {
    // The magic numbers of statfs(2): NFS, SMB, SMB2, CIFS, FUSE, 9P, Ceph,
    // AFS and Coda see writes of other machines without telling inotify.
    constexpr unsigned long Remote[] = {0x6969,     0x517B,     0xFE534D42, 0xFF534D42,
                                        0x65735546, 0x01021997, 0x00C36400, 0x5346414F,
                                        0x73757245};
    struct statfs fs;
    if (::statfs(path.c_str(), &fs) != 0)
        return true;
    for (unsigned long magic : Remote)
        if (static_cast<unsigned long>(fs.f_type) == magic)
            return false;
    return true;
}

bool FolderExists(const std::string& path) {
    struct stat st;
    return ::stat(ResolveFileCase(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first;
    struct stat second;
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    DIR* dir = opendir(ResolveFileCase(folder).c_str());
    if (!dir)
        return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        // A link counts as what it leads to; a folder named like a file of
        // the list is not one.
        struct stat st;
        if (name.size() >= suffix.size() &&
            strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0 &&
            ::fstatat(dirfd(dir), name.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode))
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

// Non-blocking open: a named pipe without a writer would otherwise block
// the program for good. Pipes, sockets and folders are refused (-1).
int OpenViewed(const std::string& path, struct stat& st) {
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0)
        return -1;
    if (::fstat(handle, &st) != 0 || S_ISDIR(st.st_mode) || S_ISFIFO(st.st_mode) ||
        S_ISSOCK(st.st_mode)) {
        ::close(handle);
        return -1;
    }
    return handle;
}

} // namespace

TReadOnlyFile::~TReadOnlyFile() { Close(); }

bool TReadOnlyFile::Open(const std::string& path) {
    Close();
    struct stat st;
    FHandle = OpenViewed(path, st);
    if (FHandle < 0)
        return false;
    if (S_ISREG(st.st_mode) && st.st_size == 0) {
        ReadUnsizedContent();
        ::close(FHandle);
        FHandle = -1;
        return true;
    }
    int flags = ::fcntl(FHandle, F_GETFL);
    if (flags >= 0)
        ::fcntl(FHandle, F_SETFL, flags & ~O_NONBLOCK);
    return true;
}

TSharedFile OpenSharedFile(const std::string& path) {
    auto file = std::make_shared<TReadOnlyFile>();
    if (!file->Open(path))
        return nullptr;
    return file;
}

bool ViewedFileReadable(const std::string& path) {
    struct stat st;
    const int handle = OpenViewed(path, st);
    if (handle >= 0)
        ::close(handle);
    return handle >= 0;
}

// Sequential reads: such files need not answer reads at an offset. The
// descriptor is still non-blocking: a kernel file that waits for more (a
// message queue such as /proc/kmsg) ends here with what it had, at "would
// block", instead of holding the program before its window appears.
void TReadOnlyFile::ReadUnsizedContent() {
    FUnsized = true;
    FContent.clear();
    char chunk[65536];
    while (static_cast<int64_t>(FContent.size()) < MaxUnsizedFileBytes) {
        ssize_t n = ::read(FHandle, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) // end, "would block" (EAGAIN) or an error
            break;
        FContent.append(chunk, static_cast<size_t>(n));
    }
    if (static_cast<int64_t>(FContent.size()) > MaxUnsizedFileBytes)
        FContent.resize(static_cast<size_t>(MaxUnsizedFileBytes));
}

bool TReadOnlyFile::OpenAgain(const TReadOnlyFile& opened) {
    Close();
    if (opened.FHandle < 0)
        return false;
    FHandle = ::fcntl(opened.FHandle, F_DUPFD_CLOEXEC, 0);
    return FHandle >= 0;
}

void TReadOnlyFile::Close() {
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
    FUnsized = false;
    FContent.clear();
}

int64_t TReadOnlyFile::Size() const {
    if (FUnsized)
        return static_cast<int64_t>(FContent.size());
    struct stat st;
    if (FHandle < 0 || ::fstat(FHandle, &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

int64_t TReadOnlyFile::ReadAt(int64_t offset, void* buffer, int64_t count) const {
    if (!IsOpen() || offset < 0 || count < 0)
        return -1;
    if (FUnsized) {
        int64_t size = static_cast<int64_t>(FContent.size());
        int64_t n = offset >= size ? 0 : std::min(count, size - offset);
        if (n > 0)
            std::copy_n(FContent.data() + offset, n, static_cast<char*>(buffer));
        return n;
    }
    int64_t total = 0;
    auto* out = static_cast<char*>(buffer);
    while (total < count) {
        ssize_t n = ::pread(FHandle, out + total, static_cast<size_t>(count - total),
                            static_cast<off_t>(offset + total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return total > 0 ? total : -1;
        }
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    TReadOnlyFile file;
    if (!file.Open(path))
        return std::nullopt;
    int64_t size = file.Size();
    if (size < 0)
        return std::nullopt;
    std::string data;
    try {
        data.resize(static_cast<size_t>(size));
    } catch (const std::exception&) { // bad_alloc or length_error
        return std::nullopt;          // larger than any file of the program's own
    }
    int64_t n = file.ReadAt(0, data.data(), size);
    if (n < 0)
        return std::nullopt;
    data.resize(static_cast<size_t>(n));
    return data;
}

namespace {

bool WriteAll(int fd, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::string TWriteResult::Reason() const {
    switch (Error) {
    case 0: return {};
    case ENOENT: return "폴더가 없습니다.";
    case EACCES:
    case EPERM: return "쓸 권한이 없습니다.";
    case ENOSPC: return "디스크 공간이 부족합니다.";
    case EDQUOT: return "디스크 할당량을 넘었습니다.";
    case EROFS: return "읽기 전용 파일 시스템입니다.";
    case EISDIR: return "같은 이름의 폴더가 있습니다.";
    case ENOTDIR: return "경로의 일부가 폴더가 아닙니다.";
    case ENAMETOOLONG: return "파일 이름이 너무 깁니다.";
    case EFBIG: return "파일이 너무 큽니다.";
    case EIO: return "입출력 오류가 났습니다.";
    case ETXTBSY:
    case EBUSY: return "파일이 사용 중입니다.";
    case ELOOP: return "심볼릭 링크가 너무 많이 이어집니다.";
    case ENODATA: return "저장할 내용이 없습니다.";
    case ECANCELED: return "내용을 다 만들지 못해 쓰기를 그만두었습니다.";
    case ENXIO: return "파이프를 읽는 프로그램이 없습니다.";
    case EPIPE: return "파이프를 읽던 프로그램이 읽기를 그만두었습니다.";
    default: return std::string("쓰기 오류: ") + std::strerror(Error);
    }
}

TWriteResult TWriteResult::FromErrno() {
    return {errno != 0 ? errno : EIO};
}

TWriteFile::~TWriteFile() { Close(); }

TWriteResult TWriteFile::Create(const std::string& path) {
    Close();
    FError = 0;
    FHandle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (FHandle < 0)
        FError = TWriteResult::FromErrno().Error;
    else if (const int flags = ::fcntl(FHandle, F_GETFL); flags >= 0)
        ::fcntl(FHandle, F_SETFL, flags & ~O_NONBLOCK);
    return {FError};
}

void TWriteFile::Write(const void* data, std::size_t count) {
    if (FHandle < 0 || FError != 0)
        return;
    if (!WriteAll(FHandle, std::string_view(static_cast<const char*>(data), count)))
        FError = TWriteResult::FromErrno().Error;
}

TWriteResult TWriteFile::Close() {
    if (FHandle < 0)
        return {FError != 0 ? FError : EBADF};
    if (::close(FHandle) != 0 && FError == 0)
        FError = TWriteResult::FromErrno().Error;
    FHandle = -1;
    return {FError};
}

namespace {

// The file a path finally names: symbolic links followed one by one (a link
// that points nowhere gives the path it points to). At most 40 links, as the
// system allows.
std::optional<std::string> FollowLinks(std::string path, int& error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            error = errno;
            return std::nullopt;
        }
        target.resize(static_cast<size_t>(n));
        path = (!target.empty() && target[0] == '/') ? target : ExtractFilePath(path) + target;
    }
    error = ELOOP;
    return std::nullopt;
}

mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A descriptor closed when it leaves scope, also when a producer throws.
class TOwnedHandle {
public:
    explicit TOwnedHandle(int handle) : FHandle(handle) {}
    ~TOwnedHandle() {
        if (FHandle >= 0)
            ::close(FHandle);
    }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;

    int Get() const { return FHandle; }
    // Closes now; false (errno set) when closing reported an error.
    bool Close() {
        const int handle = FHandle;
        FHandle = -1;
        return ::close(handle) == 0;
    }

private:
    int FHandle;
};

// Hands the producer a writer into handle. The result is the first failed
// write's error, ECANCELED when the producer gave up by itself, or success.
TWriteResult ProduceInto(int handle, const TContentProducer& produce) {
    int error = 0;
    const TPieceWriter write = [handle, &error](std::string_view piece) {
        if (error == 0 && !WriteAll(handle, piece))
            error = TWriteResult::FromErrno().Error;
        return error == 0;
    };
    const bool made = produce(write);
    if (error == 0 && !made)
        error = ECANCELED;
    return {error};
}

} // namespace

namespace {

// While it lives, a write into a pipe whose reader has gone fails with EPIPE
// instead of ending the program by SIGPIPE; a SIGPIPE the writes raised is
// taken back before the signal is let through again. For this thread only.
class TBrokenPipeGuard {
public:
    TBrokenPipeGuard() {
        sigset_t pending;
        ::sigpending(&pending);
        FWasPending = ::sigismember(&pending, SIGPIPE) == 1;
        const sigset_t pipe = PipeSignal();
        ::pthread_sigmask(SIG_BLOCK, &pipe, &FOldMask);
    }
    ~TBrokenPipeGuard() {
        const sigset_t pipe = PipeSignal();
        const timespec now{0, 0};
        if (!FWasPending)
            while (::sigtimedwait(&pipe, nullptr, &now) == SIGPIPE) {
            }
        ::pthread_sigmask(SIG_SETMASK, &FOldMask, nullptr);
    }
    TBrokenPipeGuard(const TBrokenPipeGuard&) = delete;
    TBrokenPipeGuard& operator=(const TBrokenPipeGuard&) = delete;

private:
    static sigset_t PipeSignal() {
        sigset_t set;
        ::sigemptyset(&set);
        ::sigaddset(&set, SIGPIPE);
        return set;
    }

    sigset_t FOldMask;
    bool FWasPending = false;
};

// Writes into the file itself, for what a rename must not replace: a named
// pipe or a device, or a file of another owner. A pipe that nobody reads
// fails at once with ENXIO unless the caller waits for a reader; once open,
// writes wait as usual.
TWriteResult WriteInPlace(const std::string& target, const TContentProducer& produce,
                          TPipeWait wait) {
    const int nonBlocking = wait == TPipeWait::FailWithoutReader ? O_NONBLOCK : 0;
    TOwnedHandle file(
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | nonBlocking, 0666));
    if (file.Get() < 0)
        return TWriteResult::FromErrno();
    if (const int flags = ::fcntl(file.Get(), F_GETFL); nonBlocking && flags >= 0)
        ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK);
    const TBrokenPipeGuard quiet;
    TWriteResult result = ProduceInto(file.Get(), produce);
    if (!file.Close() && result)
        result = TWriteResult::FromErrno();
    return result;
}

// The file a replacement of st must be to stand in its place: its owner and
// group (so that the superuser's save leaves a user's file the user's), and
// its mode. False when the owner cannot be kept.
bool TakeOverOwnerAndMode(int handle, const struct stat& st) {
    struct stat made;
    if (::fstat(handle, &made) != 0)
        return false;
    if ((made.st_uid != st.st_uid || made.st_gid != st.st_gid) &&
        ::fchown(handle, st.st_uid, st.st_gid) != 0)
        return false;
    return ::fchmod(handle, st.st_mode & 07777) == 0;
}

} // namespace

namespace {

// Whether the user may write the existing file st describes: the system's
// answer for the effective user, except that a file without any write
// permission is taken as protected from the superuser too, as editors take
// it. 0, or why not.
int WriteDenial(const std::string& path, const struct stat& st) {
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return (st.st_mode & 0222) == 0 ? EACCES : 0;
}

} // namespace

bool IsWriteProtected(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && WriteDenial(path, st) != 0;
}

TWriteResult WriteFileAtomically(const std::string& path, const TContentProducer& produce,
                                 TPipeWait wait) {
    int error = 0;
    std::optional<std::string> target = FollowLinks(path, error);
    if (!target)
        return {error};
    struct stat st;
    const bool exists = ::stat(target->c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return {EISDIR};
    // A protected file stays as it is: a rename would replace it, since
    // that needs only the folder to be writable.
    if (exists && S_ISREG(st.st_mode))
        if (const int denial = WriteDenial(*target, st); denial != 0)
            return {denial};
    if (exists && !S_ISREG(st.st_mode))
        return WriteInPlace(*target, produce, wait);
    std::string temp = *target + ".tmp-XXXXXX";
    TOwnedHandle file(::mkstemp(temp.data()));
    if (file.Get() < 0)
        return TWriteResult::FromErrno();
    // The temporary file goes unless it has taken the target's place, also
    // when the producer throws.
    struct TRemover {
        const std::string* Path;
        ~TRemover() {
            if (Path)
                ::unlink(Path->c_str());
        }
    } remover{&temp};
    // mkstemp creates the file as 0600 and the user's own: it takes the
    // owner and mode of the file it replaces, or the mode of any new file. A
    // file of another owner that the user may write is written into.
    if (exists && !TakeOverOwnerAndMode(file.Get(), st)) {
        ::unlink(temp.c_str());
        remover.Path = nullptr;
        return WriteInPlace(*target, produce, wait);
    }
    TWriteResult result;
    if (!exists && ::fchmod(file.Get(), NewFileMode()) != 0)
        result = TWriteResult::FromErrno();
    if (result)
        result = ProduceInto(file.Get(), produce);
    if (result && ::fsync(file.Get()) != 0)
        result = TWriteResult::FromErrno();
    if (!file.Close() && result)
        result = TWriteResult::FromErrno();
    if (result && ::rename(temp.c_str(), target->c_str()) != 0)
        result = TWriteResult::FromErrno();
    if (result)
        remover.Path = nullptr;
    return result;
}

TWriteResult WriteFileAtomically(const std::string& path, const std::string& data,
                                 TPipeWait wait) {
    return WriteFileAtomically(
        path, [&data](const TPieceWriter& write) { return write(data); }, wait);
}

TWriteResult WriteWholeFile(const std::string& path, const std::string& data) {
    TWriteFile file;
    if (TWriteResult opened = file.Create(path); !opened)
        return opened;
    file.Write(data.data(), data.size());
    return file.Close();
}

TWriteResult WriteStandardOutput(const TContentProducer& produce) {
    return ProduceInto(STDOUT_FILENO, produce);
}

TWriteResult WriteStandardOutput(const std::string& data) {
    return WriteStandardOutput([&data](const TPieceWriter& write) { return write(data); });
}

std::string AbsoluteFileName(std::string_view name) {
    if (name.empty() || name.front() == '/')
        return std::string(name);
    while (name.size() > 2 && name.substr(0, 2) == "./")
        name.remove_prefix(2);
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(name), error);
    if (error || full.native().size() >= PATH_MAX)
        return std::string(name);
    return full.string();
}

std::string ExtractFilePath(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& path) {
    std::string name = ExtractFileName(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

} // namespace ov
