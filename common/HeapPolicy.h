// How the process's heap treats large blocks.
#pragma once

namespace caltrix {

// Serves every block of 256 KB or more from its own memory mapping, given
// back to the system when freed. Without it the allocator raises that
// threshold each time a large block is freed, so after the first big page
// later ones (the engine's copies of the document, the saved bytes) land in
// the heap and leave it fragmented at the largest page's peak for good.
// Call once, first thing in main.
void ReturnLargeBlocksToTheSystem();

}  // namespace caltrix
