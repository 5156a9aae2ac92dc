#include "common/HeapPolicy.h"

#include <malloc.h>

namespace caltrix {

void ReturnLargeBlocksToTheSystem() {
    // A fixed threshold also turns off the allocator's dynamic raising of it.
    constexpr int kLargeBlockBytes = 256 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
}

}  // namespace caltrix
