#include "memory_reuse.h"

#include <cstdlib> // defines __GLIBC__ with glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kadrix {

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (a 24-megapixel photo's file and rows; not a whole
    // decoded picture) come from the heap and are reused; at most 64 MB that
    // is free stays with the process.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

} // namespace kadrix
