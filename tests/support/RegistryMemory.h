#pragma once

#include "platform/Registry.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace platform {

// An in-memory HKEY_LOCAL_MACHINE for tests. Key names compare case-insensitively, as on Windows.
class RegistryMemory : public Registry {
public:
    void setString(const std::string& subKey, const std::string& valueName, const std::string& value);
    // Models an account that may not open subKey with any mask that has one of the bits of deniedMask.
    void denyAccess(const std::string& subKey, std::uint32_t deniedMask);

    long openLocalMachineKey(const std::string& subKey, std::uint32_t accessMask, RegKey& key) override;
    long queryStringValue(RegKey key, const std::string& valueName, char* buffer,
                          std::uint32_t& size) override;
    long closeKey(RegKey key) override;

    // Every open attempt, in order, as "subKey" (successful or not).
    const std::vector<std::string>& openAttempts() const { return openAttempts_; }
    std::size_t openKeyCount() const { return handles_.size(); }

private:
    struct Key {
        std::map<std::string, std::string> values;  // value name (lower case) -> data
        std::uint32_t deniedMask = 0;
    };
    static std::string fold(const std::string& s);

    std::map<std::string, Key> keys_;
    std::map<RegKey, std::string> handles_;
    RegKey nextHandle_ = 0x100;
    std::vector<std::string> openAttempts_;
};

}  // namespace platform
