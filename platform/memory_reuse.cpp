#include "memory_reuse.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ with glibc

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace kadrix {

void tuneMemoryForPictures() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (a 24-megapixel photo's file, rows and coefficients;
    // not a whole decoded picture) come from the heap and are reused; at most
    // 64 MB that is free stays with the process.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    // Grow the heap by a block that stays free at its top, where the first
    // picture's blocks will be carved, and mark its whole 2 MB pages for huge
    // pages. Only the huge pages touched count against the memory used;
    // where huge pages are off the hint is refused and changes nothing.
    constexpr std::uintptr_t Reserve = 30 << 20, Huge = 2 << 20;
    if (void* block = std::malloc(Reserve)) {
        const auto begin = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t first = (begin + Huge - 1) & ~(Huge - 1);
        const std::uintptr_t last = (begin + Reserve) & ~(Huge - 1);
        if (last > first)
            madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
        std::free(block);
    }
#endif
}

} // namespace kadrix
