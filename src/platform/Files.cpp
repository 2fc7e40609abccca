#include "Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string_view>
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

bool FolderExists(const std::string& path) {
    struct stat st;
    return ::stat(ResolveFileCase(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    DIR* dir = opendir(ResolveFileCase(folder).c_str());
    if (!dir)
        return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() >= suffix.size() &&
            strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0 &&
            name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

TReadOnlyFile::~TReadOnlyFile() { Close(); }

bool TReadOnlyFile::Open(const std::string& path) {
    Close();
    // Non-blocking open: a named pipe without a writer would otherwise block
    // the program for good. Pipes, sockets and folders are refused.
    FHandle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (FHandle < 0)
        return false;
    struct stat st;
    if (::fstat(FHandle, &st) != 0 || S_ISDIR(st.st_mode) || S_ISFIFO(st.st_mode) ||
        S_ISSOCK(st.st_mode)) {
        Close();
        return false;
    }
    int flags = ::fcntl(FHandle, F_GETFL);
    if (flags >= 0)
        ::fcntl(FHandle, F_SETFL, flags & ~O_NONBLOCK);
    if (S_ISREG(st.st_mode) && st.st_size == 0)
        ReadUnsizedContent();
    return true;
}

// Sequential reads: such files need not answer reads at an offset.
void TReadOnlyFile::ReadUnsizedContent() {
    FUnsized = true;
    FContent.clear();
    char chunk[65536];
    while (static_cast<int64_t>(FContent.size()) < MaxUnsizedFileBytes) {
        ssize_t n = ::read(FHandle, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        FContent.append(chunk, static_cast<size_t>(n));
    }
    if (static_cast<int64_t>(FContent.size()) > MaxUnsizedFileBytes)
        FContent.resize(static_cast<size_t>(MaxUnsizedFileBytes));
}

void TReadOnlyFile::Close() {
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
    FUnsized = false;
    FContent.clear();
}

int64_t TReadOnlyFile::Size() const {
    if (FHandle >= 0 && FUnsized)
        return static_cast<int64_t>(FContent.size());
    struct stat st;
    if (FHandle < 0 || ::fstat(FHandle, &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

int64_t TReadOnlyFile::ReadAt(int64_t offset, void* buffer, int64_t count) const {
    if (FHandle < 0 || offset < 0 || count < 0)
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

TWriteFile::~TWriteFile() { Close(); }

bool TWriteFile::Create(const std::string& path) {
    Close();
    FFailed = false;
    FHandle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return FHandle >= 0;
}

void TWriteFile::Write(const void* data, std::size_t count) {
    if (FHandle < 0 || FFailed)
        return;
    FFailed = !WriteAll(FHandle, std::string_view(static_cast<const char*>(data), count));
}

bool TWriteFile::Close() {
    if (FHandle < 0)
        return false;
    bool ok = ::close(FHandle) == 0 && !FFailed;
    FHandle = -1;
    return ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& data) {
    std::string temp = path + ".tmp-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) {
        // mkstemp creates the file as 0600; a settings file is an ordinary file.
        ::chmod(temp.c_str(), 0644);
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    }
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    TWriteFile file;
    if (!file.Create(path))
        return false;
    file.Write(data.data(), data.size());
    return file.Close();
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
