#include "RegistryMemory.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace platform;

namespace {

constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr std::uint32_t kMask = 0x2003F;

// A 255-NUL buffer as the lookup prepares it.
struct Buffer {
    std::array<char, 255> data{};
    std::uint32_t size = 255;
};

}  // namespace

TEST(RegistryMemoryTest, QueryCopiesValueAndCountsTerminatingNul) {
    RegistryMemory reg;
    reg.setString(kKey, "ProductName", "Microsoft Windows 98");
    RegKey key = 0;
    ASSERT_EQ(reg.openLocalMachineKey(kKey, kMask, key), kRegSuccess);
    ASSERT_NE(key, 0u);
    Buffer b;
    EXPECT_EQ(reg.queryStringValue(key, "ProductName", b.data.data(), b.size), kRegSuccess);
    EXPECT_EQ(b.size, 21u);
    EXPECT_EQ(std::string(b.data.data()), "Microsoft Windows 98");
    EXPECT_EQ(reg.closeKey(key), kRegSuccess);
    EXPECT_EQ(reg.openKeyCount(), 0u);
}

TEST(RegistryMemoryTest, ValueLargerThanBufferIsNotCopiedAndReportsNeededSize) {
    RegistryMemory reg;
    reg.setString(kKey, "ProductName", std::string(300, 'x'));
    RegKey key = 0;
    reg.openLocalMachineKey(kKey, kMask, key);
    Buffer b;
    EXPECT_EQ(reg.queryStringValue(key, "ProductName", b.data.data(), b.size), kRegMoreData);
    EXPECT_EQ(b.size, 301u);
    EXPECT_EQ(b.data[0], '\0');

    // Exactly the capacity fits: 254 characters and the NUL.
    reg.setString(kKey, "ProductName", std::string(254, 'y'));
    Buffer exact;
    EXPECT_EQ(reg.queryStringValue(key, "ProductName", exact.data.data(), exact.size), kRegSuccess);
    EXPECT_EQ(exact.size, 255u);
    EXPECT_EQ(exact.data[253], 'y');
    reg.closeKey(key);
}

TEST(RegistryMemoryTest, FailuresLeaveBufferAndSizeAlone) {
    RegistryMemory reg;
    reg.setString(kKey, "Other", "value");
    RegKey key = 0;
    reg.openLocalMachineKey(kKey, kMask, key);
    Buffer b;
    EXPECT_EQ(reg.queryStringValue(key, "ProductName", b.data.data(), b.size), kRegFileNotFound);
    EXPECT_EQ(b.size, 255u);
    reg.closeKey(key);

    Buffer closed;
    EXPECT_EQ(reg.queryStringValue(key, "Other", closed.data.data(), closed.size), kRegInvalidHandle);
    EXPECT_EQ(reg.queryStringValue(0, "Other", closed.data.data(), closed.size), kRegInvalidHandle);
    EXPECT_EQ(closed.size, 255u);
    EXPECT_EQ(closed.data[0], '\0');
    EXPECT_EQ(reg.closeKey(key), kRegInvalidHandle);
}

TEST(RegistryMemoryTest, OpenFailsForMissingKeyAndDeniedMask) {
    RegistryMemory reg;
    RegKey key = 77;
    EXPECT_EQ(reg.openLocalMachineKey("Software\\Nowhere", kMask, key), kRegFileNotFound);
    EXPECT_EQ(key, 0u);

    reg.setString(kKey, "ProductName", "Microsoft Windows XP");
    reg.denyAccess(kKey, 0x0006);  // set-value and create-subkey rights
    key = 77;
    EXPECT_EQ(reg.openLocalMachineKey(kKey, kMask, key), kRegAccessDenied);
    EXPECT_EQ(key, 0u);
    // A read-only mask still opens: the refusal is about the write rights asked for.
    EXPECT_EQ(reg.openLocalMachineKey(kKey, 0x20019, key), kRegSuccess);
    reg.closeKey(key);
    EXPECT_EQ(reg.openAttempts().size(), 3u);
}

TEST(RegistryMemoryTest, KeyAndValueNamesIgnoreLetterCase) {
    RegistryMemory reg;
    reg.setString(kKey, "ProductName", "Microsoft Windows ME");
    RegKey key = 0;
    ASSERT_EQ(reg.openLocalMachineKey("SOFTWARE\\microsoft\\windows\\currentversion", kMask, key),
              kRegSuccess);
    Buffer b;
    EXPECT_EQ(reg.queryStringValue(key, "productname", b.data.data(), b.size), kRegSuccess);
    EXPECT_EQ(std::string(b.data.data()), "Microsoft Windows ME");
    reg.closeKey(key);
}

#ifndef _WIN32
TEST(SystemRegistryTest, HostWithoutRegistryOpensNothing) {
    const auto reg = createSystemRegistry();
    RegKey key = 5;
    EXPECT_NE(reg->openLocalMachineKey(kKey, kMask, key), kRegSuccess);
    EXPECT_EQ(key, 0u);
    Buffer b;
    EXPECT_NE(reg->queryStringValue(key, "ProductName", b.data.data(), b.size), kRegSuccess);
    EXPECT_EQ(b.size, 255u);
}
#endif
