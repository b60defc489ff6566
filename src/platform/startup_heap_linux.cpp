#include "platform/StartupHeap.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace platform {
namespace {

// Below the allocator's mmap threshold, so that every piece comes from the heap.
constexpr std::size_t kPieceBytes = 64 * 1024;

// Linux 5.14; older kernels refuse it, and the pages fault one by one as before.
#ifndef MADV_POPULATE_WRITE
constexpr int MADV_POPULATE_WRITE = 23;
#endif

// Never freed: it keeps the freed pieces from merging into the heap's top, which the allocator would
// give back to the system. A piece's size, so that it is cut from the top and not from a small free chunk.
void* fence = nullptr;

}  // namespace

std::jthread mapStartupHeap(std::size_t bytes) {
    std::jthread mapping;
    std::vector<void*> pieces;
    pieces.reserve(bytes / kPieceBytes + 1);
    for (std::size_t got = 0; got < bytes; got += kPieceBytes) {
        void* piece = std::malloc(kPieceBytes);
        if (piece == nullptr) break;
        pieces.push_back(piece);
    }
    if (fence == nullptr) fence = std::malloc(kPieceBytes);
    if (!pieces.empty() && fence != nullptr) {
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        const std::uintptr_t low =
            (reinterpret_cast<std::uintptr_t>(pieces.front()) + page - 1) & ~(page - 1);
        const std::uintptr_t high = reinterpret_cast<std::uintptr_t>(fence) & ~(page - 1);
        // One unbroken run of heap only: pieces scattered by another allocator are left to fault. Mapping
        // never changes what the pages hold, so the caller may already be using them.
        if (high > low && high - low <= bytes + 2 * kPieceBytes) {
            mapping = std::jthread(
                [low, high] { madvise(reinterpret_cast<void*>(low), high - low, MADV_POPULATE_WRITE); });
        }
    }
    for (void* piece : pieces) std::free(piece);
    return mapping;
}

}  // namespace platform
