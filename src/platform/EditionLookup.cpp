#include "platform/EditionLookup.h"

#include <algorithm>
#include <array>

namespace platform {
namespace {

struct Reading {
    std::array<char, kProductNameBufferSize> buffer{};
    std::uint32_t size = kProductNameBufferSize;
    RegKey key = 0;
};

// Open and query; the results are deliberately not examined (a failure keeps the prepared state).
void readProductName(Registry& registry, const char* subKey, Reading& r) {
    r.buffer.fill('\0');
    r.size = kProductNameBufferSize;
    registry.openLocalMachineKey(subKey, kProductNameAccessMask, r.key);
    registry.queryStringValue(r.key, kProductNameValue, r.buffer.data(), r.size);
}

}  // namespace

std::string productName(Registry& registry) {
    Reading r;
    readProductName(registry, kWindowsVersionKey, r);
    // A long first reading is not a 9x product name: NT systems keep theirs under the second key.
    if (r.size >= 40) {
        registry.closeKey(r.key);
        readProductName(registry, kWindowsNtVersionKey, r);
    }
    // An empty value reports size 0; a value larger than the buffer cannot give more than the buffer.
    const std::size_t length = std::min<std::size_t>(r.size == 0 ? 0 : r.size - 1, r.buffer.size());
    registry.closeKey(r.key);
    return std::string(r.buffer.data(), length);
}

std::string editionTag(std::string_view productName) {
    if (productName == "Microsoft Windows 95") return "95";
    if (productName == "Microsoft Windows 98") return "98";
    if (productName == "Microsoft Windows ME") return "ME";
    if (productName == "Microsoft Windows XP") return "XP";
    return "Else";
}

}  // namespace platform
