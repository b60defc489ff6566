#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// An opened registry key; 0 stands for "no key" (a failed open leaves it there).
using RegKey = std::uintptr_t;

// Win32 error codes as the registry calls return them.
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegAccessDenied = 5;
inline constexpr long kRegInvalidHandle = 6;
inline constexpr long kRegMoreData = 234;

// Read access to HKEY_LOCAL_MACHINE, shaped like RegOpenKeyExA / RegQueryValueExA / RegCloseKey.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens subKey (backslash-separated) under HKEY_LOCAL_MACHINE. On failure key is 0.
    virtual long openLocalMachineKey(const std::string& subKey, std::uint32_t accessMask, RegKey& key) = 0;

    // Queries a string value. size is the buffer's capacity in bytes on entry and the value's size in
    // bytes (terminating NUL included) on success. A value that does not fit is not copied: the call
    // returns kRegMoreData and size reports the size needed. Other failures leave buffer and size alone.
    virtual long queryStringValue(RegKey key, const std::string& valueName, char* buffer,
                                  std::uint32_t& size) = 0;

    virtual long closeKey(RegKey key) = 0;
};

// The host's registry: the real one on Windows; elsewhere one in which no key opens.
std::unique_ptr<Registry> createSystemRegistry();

}  // namespace platform
