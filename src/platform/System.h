#pragma once
// Facts about the running system.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ov {

// Memory the system can still give without swapping (MemAvailable), in
// bytes; nullopt when it cannot be read.
std::optional<std::int64_t> AvailableMemory();

// Gives the whole pages inside [data, data + size) back to the system at
// once; the bytes there read as zeros afterwards. Meant for a large block
// about to be freed, whose pages the allocator would otherwise keep for
// reuse long after the memory is needed.
void ReleasePages(void* data, std::size_t size);

} // namespace ov
