// The real registry calls under Wine, against values this test writes into Wine's own registry.

#include "platform/Registry.h"

#include "WinTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace platform;

namespace {

constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr std::uint32_t kMask = 0x2003F;

struct Buffer {
    std::array<char, 255> data{};
    std::uint32_t size = 255;
};

class WinRegistryTest : public ::testing::Test {
protected:
    std::unique_ptr<Registry> reg = createSystemRegistry();
    wintest::ScopedRegValue name{HKEY_LOCAL_MACHINE, kKey, "ProductName"};
};

}  // namespace

TEST_F(WinRegistryTest, ValueLargerThanTheBufferReportsTheSizeNeeded) {
    name.set(std::string(300, 'x'));
    RegKey key = 0;
    ASSERT_EQ(reg->openLocalMachineKey(kKey, kMask, key), kRegSuccess);
    Buffer b;
    EXPECT_EQ(reg->queryStringValue(key, "ProductName", b.data.data(), b.size), kRegMoreData);
    EXPECT_EQ(b.size, 301u);
    reg->closeKey(key);
}

TEST_F(WinRegistryTest, MissingKeyOrValueLeavesBufferAndSizeAsPrepared) {
    RegKey key = 0x55;
    EXPECT_EQ(reg->openLocalMachineKey("Software\\Tallyvox-Number\\NoSuchKey", kMask, key), kRegFileNotFound);
    EXPECT_EQ(key, 0u);
    Buffer b;
    EXPECT_NE(reg->queryStringValue(key, "ProductName", b.data.data(), b.size), kRegSuccess);
    EXPECT_EQ(b.size, 255u);
    EXPECT_EQ(b.data, Buffer{}.data);
    EXPECT_NE(reg->closeKey(key), kRegSuccess);

    name.remove();
    ASSERT_EQ(reg->openLocalMachineKey(kKey, kMask, key), kRegSuccess);
    EXPECT_EQ(reg->queryStringValue(key, "ProductName", b.data.data(), b.size), kRegFileNotFound);
    EXPECT_EQ(b.size, 255u);
    EXPECT_EQ(b.data, Buffer{}.data);
    EXPECT_EQ(reg->closeKey(key), kRegSuccess);
}

TEST_F(WinRegistryTest, AccessMaskReachesTheSystem) {
    // 0x2003F holds KEY_SET_VALUE, so the key it opens can be written; a read-only mask cannot.
    const auto canWrite = [&](std::uint32_t mask) {
        RegKey key = 0;
        EXPECT_EQ(reg->openLocalMachineKey(kKey, mask, key), kRegSuccess);
        const char data[] = "probe";
        const LONG rc = RegSetValueExA(reinterpret_cast<HKEY>(key), "ProductName", 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data), sizeof data);
        reg->closeKey(key);
        return rc;
    };
    EXPECT_EQ(canWrite(kMask), ERROR_SUCCESS);
    EXPECT_EQ(canWrite(KEY_READ), ERROR_ACCESS_DENIED);
}
