#include "System.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace ov {

std::optional<std::int64_t> AvailableMemory() {
    std::FILE* file = std::fopen("/proc/meminfo", "r");
    if (!file)
        return std::nullopt;
    char line[256];
    std::optional<std::int64_t> result;
    while (std::fgets(line, sizeof line, file)) {
        long long kib = 0;
        if (std::sscanf(line, "MemAvailable: %lld kB", &kib) == 1) {
            result = static_cast<std::int64_t>(kib) * 1024;
            break;
        }
    }
    std::fclose(file);
    return result;
}

void ReleasePages(void* data, std::size_t size) {
    static const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = (std::uintptr_t(data) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (std::uintptr_t(data) + size) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

} // namespace ov
