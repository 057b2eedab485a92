#include "statslog/huge_pages.hpp"

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace statsstats {

void adviseHugePages([[maybe_unused]] void* block, [[maybe_unused]] std::size_t bytes) noexcept {
#if defined(MADV_HUGEPAGE)
    // The records of a large log take a hundred megabytes; touching them one 4 KiB page at a
    // time costs tens of thousands of page faults, a tenth of the run. A refusal is harmless.
    (void)madvise(block, bytes, MADV_HUGEPAGE);
#endif
}

}  // namespace statsstats
