#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr char kWindowsVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kWindowsNtVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr char kProductNameValue[] = "ProductName";
// Every key right plus standard read: more than reading needs, so it fails for non-administrators.
inline constexpr std::uint32_t kProductNameAccessMask = 0x2003F;
inline constexpr std::uint32_t kProductNameBufferSize = 255;

// The Windows product name as read from HKEY_LOCAL_MACHINE. Registry failures never raise: an
// unreadable value leaves the prepared buffer, so the result is then 254 NUL characters.
std::string productName(Registry& registry);

// "95", "98", "ME" or "XP" for the exact product names of those editions, otherwise "Else".
std::string editionTag(std::string_view productName);

}  // namespace platform
