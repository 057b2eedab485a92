#include "statslog/record_chunks.hpp"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace statsstats {
namespace {

constexpr std::align_val_t kAlignment{kRecordChunkBytes};

}  // namespace

// Records are written once, in order, and the summary then visits them by channel, all over
// the list. Page by page, a log of 100 MB of records costs some 25,000 page faults and as many
// misses of the address cache (TLB), each dearer still in a virtual machine. A huge page,
// faulted in by one call per chunk, costs one of each. Both are hints: where the system
// declines them, the memory is the same, only slower to come by.
void* allocateRecordChunk(bool backWhole) {
    void* const chunk = ::operator new(kRecordChunkBytes, kAlignment);
    if (backWhole) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        ::madvise(chunk, kRecordChunkBytes, MADV_HUGEPAGE);
#endif
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
        ::madvise(chunk, kRecordChunkBytes, MADV_POPULATE_WRITE);
#endif
    }
    return chunk;
}

void freeRecordChunk(void* chunk) noexcept {
    ::operator delete(chunk, kAlignment);
}

}  // namespace statsstats
