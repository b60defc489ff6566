#pragma once

#include <cstddef>

namespace platform {

// Start-up writes a few MiB of fresh heap, and each fresh page costs a page fault of several
// microseconds under virtualisation. Maps bytes of heap in one call and leaves them free for the
// allocations this thread makes next. Linux only (the Qt front end); does nothing where the allocator
// does not hand the pieces out in one run.
void prefaultHeap(std::size_t bytes);

}  // namespace platform
