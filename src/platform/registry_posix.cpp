#include "platform/Registry.h"

namespace platform {
namespace {

// Hosts other than Windows have no HKEY_LOCAL_MACHINE: every open fails, so lookups fall back.
class PosixRegistry : public Registry {
public:
    long openLocalMachineKey(const std::string&, std::uint32_t, RegKey& key) override {
        key = 0;
        return kRegFileNotFound;
    }
    long queryStringValue(RegKey, const std::string&, char*, std::uint32_t&) override {
        return kRegInvalidHandle;
    }
    long closeKey(RegKey) override { return kRegInvalidHandle; }
};

}  // namespace

std::unique_ptr<Registry> createSystemRegistry() {
    return std::make_unique<PosixRegistry>();
}

}  // namespace platform
