// Backing large, long-lived blocks of memory with huge pages where the system offers them.
#pragma once

#include <cstddef>

namespace statsstats {

// The size of a huge page on the systems that have them (2 MiB on x86-64 and most others).
inline constexpr std::size_t kHugePageBytes = std::size_t{1} << 21;

// Asks the system to back [block, block + bytes) with huge pages. Only a hint: where the system
// has no such pages, or declines, the block stays as it was.
void adviseHugePages(void* block, std::size_t bytes) noexcept;

}  // namespace statsstats
