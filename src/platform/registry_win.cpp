#include "platform/Registry.h"

#include <windows.h>

namespace platform {
namespace {

HKEY toHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

class WinRegistry : public Registry {
public:
    long openLocalMachineKey(const std::string& subKey, std::uint32_t accessMask, RegKey& key) override {
        HKEY opened = nullptr;
        const LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, accessMask, &opened);
        key = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(opened) : 0;
        return rc;
    }

    long queryStringValue(RegKey key, const std::string& valueName, char* buffer,
                          std::uint32_t& size) override {
        DWORD type = 0;
        DWORD bytes = size;
        const LONG rc = RegQueryValueExA(toHkey(key), valueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &bytes);
        // The call writes the size back on success and on ERROR_MORE_DATA only.
        if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) size = bytes;
        return rc;
    }

    long closeKey(RegKey key) override { return RegCloseKey(toHkey(key)); }
};

}  // namespace

std::unique_ptr<Registry> createSystemRegistry() {
    return std::make_unique<WinRegistry>();
}

}  // namespace platform
