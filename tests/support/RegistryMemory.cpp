#include "RegistryMemory.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace platform {

std::string RegistryMemory::fold(const std::string& s) {
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

void RegistryMemory::setString(const std::string& subKey, const std::string& valueName,
                               const std::string& value) {
    keys_[fold(subKey)].values[fold(valueName)] = value;
}

void RegistryMemory::denyAccess(const std::string& subKey, std::uint32_t deniedMask) {
    keys_[fold(subKey)].deniedMask |= deniedMask;
}

long RegistryMemory::openLocalMachineKey(const std::string& subKey, std::uint32_t accessMask, RegKey& key) {
    openAttempts_.push_back(subKey);
    key = 0;
    const auto it = keys_.find(fold(subKey));
    if (it == keys_.end()) return kRegFileNotFound;
    if ((it->second.deniedMask & accessMask) != 0) return kRegAccessDenied;
    key = nextHandle_++;
    handles_[key] = it->first;
    return kRegSuccess;
}

long RegistryMemory::queryStringValue(RegKey key, const std::string& valueName, char* buffer,
                                      std::uint32_t& size) {
    const auto h = handles_.find(key);
    if (h == handles_.end()) return kRegInvalidHandle;
    const Key& k = keys_.at(h->second);
    const auto v = k.values.find(fold(valueName));
    if (v == k.values.end()) return kRegFileNotFound;
    const auto needed = static_cast<std::uint32_t>(v->second.size() + 1);
    if (buffer == nullptr || needed > size) {
        size = needed;
        return buffer == nullptr ? kRegSuccess : kRegMoreData;
    }
    std::memcpy(buffer, v->second.c_str(), needed);
    size = needed;
    return kRegSuccess;
}

long RegistryMemory::closeKey(RegKey key) {
    return handles_.erase(key) == 1 ? kRegSuccess : kRegInvalidHandle;
}

}  // namespace platform
