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
    std::vector<char*> blocks(1500);  // start-up's pattern: many small objects, written at once
    { const std::jthread mapping = mapStartupHeap(2 << 20); }
    const long before = minorFaults();
    for (char*& block : blocks) block = static_cast<char*>(std::memset(std::malloc(1000), 1, 1000));
    const long faults = minorFaults() - before;
    for (char* block : blocks) std::free(block);
    EXPECT_LT(faults, 20) << "1.5 MB of fresh heap is about 370 pages";
}

}  // namespace
}  // namespace platform
