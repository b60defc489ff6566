#include "platform/StartupHeap.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>

namespace platform {
namespace {

TEST(StartupHeap, TheAllocationsThatFollowFindTheirPagesMapped) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps no heap in one run";
#endif
    const auto faults = [] {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        return usage.ru_minflt;
    };
    std::vector<char*> blocks(1500);  // start-up's pattern: many small objects, written at once
    mapStartupHeap(2 << 20).join();
    const long before = faults();
    for (char*& block : blocks) block = static_cast<char*>(std::memset(std::malloc(1000), 1, 1000));
    EXPECT_LT(faults() - before, 20) << "1.5 MB of fresh heap is about 370 pages";
    for (char* block : blocks) std::free(block);
}

}  // namespace
}  // namespace platform
