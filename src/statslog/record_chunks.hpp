// Memory for a log's records: large chunks, each backed by the system as cheaply as it can.
#pragma once

#include <cstddef>

namespace statsstats {

// Two megabytes: the size of an x86-64 huge page.
inline constexpr std::size_t kRecordChunkBytes = std::size_t{2} << 20;

// Returns kRecordChunkBytes of uninitialised memory aligned to their size; throws
// std::bad_alloc when there is none. `backWhole` asks the system to back the whole chunk at
// once, with huge pages where it has them: worth it once a log has filled a chunk, but not for
// a small log, which would pay for clearing two megabytes it never uses.
void* allocateRecordChunk(bool backWhole);
void freeRecordChunk(void* chunk) noexcept;

}  // namespace statsstats
