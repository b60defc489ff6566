#include "platform/ProgramDirectory.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace platform {

std::string programDirectory() {
    // Resolved here rather than trusted to the caller: the link's folder holds no character file.
    const std::unique_ptr<char, decltype(&std::free)> real(realpath("/proc/self/exe", nullptr), &std::free);
    if (!real) return {};
    const std::string path(real.get());
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace platform
