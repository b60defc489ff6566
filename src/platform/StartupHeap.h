#pragma once

#include <cstddef>
#include <thread>

namespace platform {

// Start-up writes a few MiB of fresh heap, and each fresh page costs a page fault of several
// microseconds under virtualisation. Cuts bytes of heap for the calling thread's next allocations and
// maps them in one call on a thread of its own while the caller goes on. Linux only (the Qt front end);
// maps nothing where the allocator does not hand the pieces out in one run.
class StartupHeap {
public:
    explicit StartupHeap(std::size_t bytes);
    ~StartupHeap();
    StartupHeap(const StartupHeap&) = delete;
    StartupHeap& operator=(const StartupHeap&) = delete;

    // Returns once the heap is mapped.
    void wait();

private:
    std::thread thread_;
};

}  // namespace platform
