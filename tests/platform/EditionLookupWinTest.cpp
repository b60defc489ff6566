// The edition lookup through the real registry calls under Wine, with ProductName written into Wine's
// registry under both keys by the test itself.

#include "platform/EditionLookup.h"

#include "WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

// Passes every call to the real registry and keeps what was asked for.
class WatchedRegistry : public Registry {
public:
    long openLocalMachineKey(const std::string& subKey, std::uint32_t accessMask, RegKey& key) override {
        opened.push_back(subKey);
        masks.push_back(accessMask);
        const long rc = real_->openLocalMachineKey(subKey, accessMask, key);
        if (rc == kRegSuccess) ++openKeys;
        return rc;
    }
    long queryStringValue(RegKey key, const std::string& valueName, char* buffer,
                          std::uint32_t& size) override {
        return real_->queryStringValue(key, valueName, buffer, size);
    }
    long closeKey(RegKey key) override {
        const long rc = real_->closeKey(key);
        if (rc == kRegSuccess) --openKeys;
        return rc;
    }

    std::vector<std::string> opened;
    std::vector<std::uint32_t> masks;
    int openKeys = 0;

private:
    std::unique_ptr<Registry> real_ = createSystemRegistry();
};

const std::string kFirst = kWindowsVersionKey;
const std::string kSecond = kWindowsNtVersionKey;
const std::string kXp = "Microsoft Windows XP";

class EditionLookupWinTest : public ::testing::Test {
protected:
    std::string lookUp() {
        const std::string name = productName(reg);
        EXPECT_EQ(reg.openKeys, 0) << "a key was left open";
        for (std::uint32_t mask : reg.masks) EXPECT_EQ(mask, 0x2003Fu);
        return name;
    }
    std::vector<std::string> bothKeys() const { return {kFirst, kSecond}; }

    wintest::ScopedRegValue first{HKEY_LOCAL_MACHINE, kFirst, "ProductName"};
    wintest::ScopedRegValue second{HKEY_LOCAL_MACHINE, kSecond, "ProductName"};
    WatchedRegistry reg;
};

}  // namespace

TEST_F(EditionLookupWinTest, ShortNameUnderTheFirstKeyIsUsedAndTheSecondNeverOpened) {
    for (const auto& [name, tag] : {std::pair{"Microsoft Windows 95", "95"},
                                    {"Microsoft Windows 98", "98"},
                                    {"Microsoft Windows ME", "ME"}}) {
        first.set(name);
        second.set(kXp);
        reg.opened.clear();
        const std::string read = lookUp();
        EXPECT_EQ(read, name);
        EXPECT_EQ(editionTag(read), tag);
        EXPECT_EQ(reg.opened, std::vector<std::string>{kFirst});
    }
}

TEST_F(EditionLookupWinTest, MissingValueUnderTheFirstKeyConsultsTheSecond) {
    first.remove();
    second.set(kXp);
    EXPECT_EQ(editionTag(lookUp()), "XP");
    EXPECT_EQ(reg.opened, bothKeys());
}

TEST_F(EditionLookupWinTest, SizeFortyOrMoreGoesToTheSecondKey) {
    second.set(kXp);
    first.set(std::string(39, 'n'));  // size 40 with its NUL
    EXPECT_EQ(lookUp(), kXp);
    EXPECT_EQ(reg.opened, bothKeys());

    reg.opened.clear();
    first.set(std::string(300, 'n'));  // does not fit: the size needed is reported
    EXPECT_EQ(lookUp(), kXp);
    EXPECT_EQ(reg.opened, bothKeys());

    reg.opened.clear();
    first.set(std::string(38, 'n'));  // size 39: kept
    EXPECT_EQ(lookUp(), std::string(38, 'n'));
    EXPECT_EQ(reg.opened, std::vector<std::string>{kFirst});
}

TEST_F(EditionLookupWinTest, NamesThatAreNotExactlyAnEditionGiveElse) {
    first.remove();
    for (const char* name :
         {"Microsoft Windows XP ", "microsoft windows xp", "Microsoft Windows XP Professional",
          "Microsoft Windows 2000", "Windows Vista (TM) Ultimate"}) {
        second.set(name);
        const std::string read = lookUp();
        EXPECT_EQ(read, name);
        EXPECT_EQ(editionTag(read), "Else") << name;
    }
}

TEST_F(EditionLookupWinTest, NoValueUnderEitherKeyLeavesThePreparedBuffer) {
    first.remove();
    second.remove();
    const std::string read = lookUp();
    EXPECT_EQ(read, std::string(254, '\0'));
    EXPECT_EQ(editionTag(read), "Else");
}
