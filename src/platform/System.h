#pragma once
// Facts about the running system.

#include <cstdint>
#include <optional>

namespace ov {

// Memory the system can still give without swapping (MemAvailable), in
// bytes; nullopt when it cannot be read.
std::optional<std::int64_t> AvailableMemory();

} // namespace ov
