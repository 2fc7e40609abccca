#include "Mappedfile.h"

#include "Errors.h"
#include "Files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

namespace ov {

namespace {

// The ranges the SIGBUS handler may patch. Read by the handler, so plain
// atomics in a fixed table: no allocation, no lock.
constexpr int MaxMappings = 64;
std::atomic<std::uintptr_t> MappedBegin[MaxMappings];
std::atomic<std::uintptr_t> MappedEnd[MaxMappings];
std::atomic<std::int64_t> ReplacedPageCount{0};
struct sigaction PreviousBusAction;

std::size_t PageSize() {
    static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

void Register(char* data, std::size_t length) {
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    for (int i = 0; i < MaxMappings; ++i) {
        std::uintptr_t expected = 0;
        if (MappedBegin[i].compare_exchange_strong(expected, begin)) {
            MappedEnd[i].store(begin + length);
            return;
        }
    }
    // A full table only means a shrunk file of this mapping is not patched.
}

void Unregister(char* data) {
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    for (int i = 0; i < MaxMappings; ++i) {
        if (MappedBegin[i].load() == begin) {
            MappedEnd[i].store(0);
            MappedBegin[i].store(0);
            return;
        }
    }
}

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (int i = 0; i < MaxMappings; ++i) {
        const std::uintptr_t begin = MappedBegin[i].load();
        if (begin != 0 && address >= begin && address < MappedEnd[i].load()) {
            const std::uintptr_t page = address & ~(std::uintptr_t(PageSize()) - 1);
            // The faulting read is retried on return and then sees zeros.
            if (mmap(reinterpret_cast<void*>(page), PageSize(), PROT_READ,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
                ReplacedPageCount.fetch_add(1);
                return;
            }
            break;
        }
    }
    // Not ours: whoever handled SIGBUS before (a sanitizer) or the default.
    if ((PreviousBusAction.sa_flags & SA_SIGINFO) && PreviousBusAction.sa_sigaction) {
        PreviousBusAction.sa_sigaction(signal, info, context);
        return;
    }
    if (PreviousBusAction.sa_handler != SIG_DFL && PreviousBusAction.sa_handler != SIG_IGN &&
        PreviousBusAction.sa_handler) {
        PreviousBusAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL); // the fault repeats on return and ends the program
}

void InstallBusHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &PreviousBusAction);
    });
}

} // namespace

TMappedFile::~TMappedFile() { Unmap(); }

bool TMappedFile::Map(const TReadOnlyFile& file) {
    Unmap();
    const int handle = file.Handle();
    struct stat info;
    if (handle < 0 || fstat(handle, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0 ||
        static_cast<std::uint64_t>(info.st_size) > SIZE_MAX - 2 * PageSize())
        return false;
    const auto size = static_cast<std::size_t>(info.st_size);
    // Reserve the data plus at least one byte, and the room to grow, rounded
    // to pages, as zeros; the file goes over the front of it, the rest stays
    // the zero guard until the file grows into it.
    const std::size_t room =
        size < SIZE_MAX / 2 - std::size_t(GrowthRoom) ? std::size_t(GrowthRoom) : 0;
    const std::size_t length = (size + 1 + room + PageSize() - 1) / PageSize() * PageSize();
    void* reserved = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                          -1, 0);
    if (reserved == MAP_FAILED)
        return false;
    // The mapping keeps the file for itself, after the opening is closed.
    void* data = mmap(reserved, size, PROT_READ, MAP_PRIVATE | MAP_FIXED, handle, 0);
    if (data == MAP_FAILED) {
        munmap(reserved, length);
        return false;
    }
    // A handle of its own, to tell where the file now ends; without one the
    // file reads as never cut short.
    FHandle = fcntl(handle, F_DUPFD_CLOEXEC, 0);
    InstallBusHandler();
    FData = static_cast<char*>(data);
    FSize = static_cast<std::int64_t>(size);
    FLength = length;
    Register(FData, FLength);
    return true;
}

std::int64_t TMappedFile::Grow() {
    struct stat info;
    if (!FData || FHandle < 0 || fstat(FHandle, &info) != 0 || info.st_size <= FSize ||
        info.st_size >= Capacity())
        return FSize;
    // From the page that holds the old end on: that page is mapped again
    // with the rest, at the same place.
    const auto from = static_cast<std::size_t>(FSize) / PageSize() * PageSize();
    const auto size = static_cast<std::size_t>(info.st_size);
    if (mmap(FData + from, size - from, PROT_READ, MAP_PRIVATE | MAP_FIXED, FHandle,
             static_cast<off_t>(from)) == MAP_FAILED)
        return FSize;
    FSize = static_cast<std::int64_t>(size);
    return FSize;
}

void TMappedFile::Unmap() {
    if (!FData)
        return;
    Unregister(FData);
    munmap(FData, FLength);
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
    FData = nullptr;
    FSize = 0;
    FLength = 0;
}

std::int64_t TMappedFile::CurrentSize() const {
    struct stat info;
    if (FHandle < 0 || fstat(FHandle, &info) != 0)
        return FSize;
    return static_cast<std::int64_t>(info.st_size);
}

std::int64_t TMappedFile::ReplacedPages() { return ReplacedPageCount.load(); }

const char* ZeroBytes(std::size_t count) {
    static std::atomic<const char*> zeros{nullptr};
    static std::atomic<std::size_t> available{0};
    if (count <= available.load(std::memory_order_acquire))
        return zeros.load(std::memory_order_acquire);
    static std::mutex growing;
    std::lock_guard<std::mutex> lock(growing);
    std::size_t have = available.load();
    if (count <= have)
        return zeros.load();
    std::size_t want = std::max<std::size_t>(have * 2, 1 << 20);
    while (want < count)
        want *= 2;
    // Untouched anonymous pages read as the kernel's shared zero page; the
    // old region stays mapped for readers that still hold it.
    void* region = mmap(nullptr, want, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                        -1, 0);
    if (region == MAP_FAILED)
        ThrowOutOfMemory();
    zeros.store(static_cast<const char*>(region), std::memory_order_release);
    available.store(want, std::memory_order_release);
    return static_cast<const char*>(region);
}

} // namespace ov
