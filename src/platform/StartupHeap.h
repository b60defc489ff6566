#pragma once

#include <cstddef>
#include <thread>

namespace platform {

// Start-up writes a few MiB of fresh heap, and each fresh page costs a page fault of several
// microseconds under virtualisation. Cuts bytes of heap for the calling thread's next allocations and
// returns the thread that maps them in one call while the caller goes on (it joins when dropped). Linux
// only (the Qt front end); maps nothing where the allocator does not hand the pieces out in one run.
[[nodiscard]] std::jthread mapStartupHeap(std::size_t bytes);

}  // namespace platform
