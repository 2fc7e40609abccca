#include "System.h"

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

} // namespace ov
