#include "platform/ProgramDirectory.h"

#include <windows.h>

#include <vector>

namespace platform {

std::string programDirectory() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::size_t cut = path.size();
    while (cut > 0 && path[cut - 1] != L'\\' && path[cut - 1] != L'/') --cut;
    // Drops the separator, but a drive root keeps its own ("C:\").
    if (cut > 0 && !(cut == 3 && path[1] == L':')) --cut;
    const int wide = static_cast<int>(cut);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, path.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace platform
