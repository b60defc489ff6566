#include "platform/StartupHeap.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>

namespace platform {
namespace {

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}

TEST(StartupHeap, TheAllocationsThatFollowFindTheirPagesMapped) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps no heap in one run";
#endif
    constexpr std::size_t kBytes = 2 << 20;
    constexpr std::size_t kBlock = 1000;
    std::vector<char*> blocks;
    blocks.reserve(kBytes * 3 / 4 / kBlock);
    StartupHeap heap(kBytes);
    heap.wait();
    const long before = minorFaults();
    // Start-up's pattern: many small objects, written at once.
    while (blocks.size() < blocks.capacity()) {
        blocks.push_back(static_cast<char*>(std::malloc(kBlock)));
        std::memset(blocks.back(), 1, kBlock);
    }
    const long faults = minorFaults() - before;
    for (char* block : blocks) std::free(block);
    EXPECT_LT(faults, 20) << "1.5 MiB of fresh heap is about 380 pages";
}

}  // namespace
}  // namespace platform
