// Memory for a log's records: large chunks, each backed by the system as cheaply as it can.
#pragma once

#include <cstddef>

namespace statsstats {

// Two megabytes: the size of an x86-64 huge page.
inline constexpr std::size_t kRecordChunkBytes = std::size_t{2} << 20;

// Returns kRecordChunkBytes of uninitialised memory aligned to their size; throws
// std::bad_alloc when there is none.
void* allocateRecordChunk();
void freeRecordChunk(void* chunk) noexcept;

}  // namespace statsstats
