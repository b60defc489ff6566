#include "RegistryMemory.h"
#include "platform/EditionLookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

const std::string kFirst = kWindowsVersionKey;
const std::string kSecond = kWindowsNtVersionKey;

class EditionLookupTest : public ::testing::Test {
protected:
    std::string lookUp() {
        const std::string name = productName(reg);
        EXPECT_EQ(reg.openKeyCount(), 0u) << "a key was left open";
        return name;
    }
    RegistryMemory reg;
};

}  // namespace

TEST_F(EditionLookupTest, ShortNameUnderFirstKeyIsUsedAndSecondKeyNeverOpened) {
    reg.setString(kFirst, "ProductName", "Microsoft Windows 98");
    reg.setString(kSecond, "ProductName", "Microsoft Windows XP");
    EXPECT_EQ(lookUp(), "Microsoft Windows 98");
    EXPECT_EQ(reg.openAttempts(), std::vector<std::string>{kFirst});
}

TEST_F(EditionLookupTest, MissingValueUnderFirstKeyConsultsSecondKey) {
    reg.setString(kFirst, "Version", "Windows NT");
    reg.setString(kSecond, "ProductName", "Microsoft Windows XP");
    EXPECT_EQ(lookUp(), "Microsoft Windows XP");
    EXPECT_EQ(reg.openAttempts(), (std::vector<std::string>{kFirst, kSecond}));
}

TEST_F(EditionLookupTest, SizeFortyIsTheThreshold) {
    // 38 characters (size 39) stay; 39 characters (size 40) are discarded for the second key.
    reg.setString(kSecond, "ProductName", "Microsoft Windows XP");
    reg.setString(kFirst, "ProductName", std::string(38, 'a'));
    EXPECT_EQ(lookUp(), std::string(38, 'a'));
    reg.setString(kFirst, "ProductName", std::string(39, 'b'));
    EXPECT_EQ(lookUp(), "Microsoft Windows XP");
    // Too long for the buffer: the size reported as needed also sends the lookup on.
    reg.setString(kFirst, "ProductName", std::string(300, 'c'));
    EXPECT_EQ(lookUp(), "Microsoft Windows XP");
}

TEST_F(EditionLookupTest, UnreadableKeysLeaveThePreparedBuffer) {
    reg.setString(kFirst, "ProductName", "Microsoft Windows XP");
    reg.setString(kSecond, "ProductName", "Microsoft Windows XP");
    reg.denyAccess(kFirst, 0x0002);
    reg.denyAccess(kSecond, 0x0002);
    const std::string name = lookUp();
    EXPECT_EQ(name, std::string(254, '\0'));
    EXPECT_EQ(editionTag(name), "Else");
}

TEST_F(EditionLookupTest, NoRegistryAtAllGivesElse) {
    EXPECT_EQ(editionTag(lookUp()), "Else");
}

TEST_F(EditionLookupTest, EmptyValueGivesEmptyName) {
    // A value that reports size 0 must not give a negative length.
    reg.setString(kFirst, "ProductName", "");
    EXPECT_EQ(lookUp(), "");
}

TEST_F(EditionLookupTest, OversizedSecondValueIsNotCopied) {
    reg.setString(kSecond, "ProductName", std::string(300, 'z'));
    EXPECT_EQ(lookUp(), std::string(255, '\0'));
}

TEST(EditionTagTest, ExactNamesGiveTheirTags) {
    EXPECT_EQ(editionTag("Microsoft Windows 95"), "95");
    EXPECT_EQ(editionTag("Microsoft Windows 98"), "98");
    EXPECT_EQ(editionTag("Microsoft Windows ME"), "ME");
    EXPECT_EQ(editionTag("Microsoft Windows XP"), "XP");
}

TEST(EditionTagTest, EverythingElseGivesElse) {
    for (const char* name :
         {"Microsoft Windows 2000", "Windows Vista (TM) Ultimate", "Windows Vista (TM) Home Premium",
          "microsoft windows xp", "Microsoft Windows XP ", "Microsoft Windows XP Professional",
          "Microsoft Windows Me", ""}) {
        EXPECT_EQ(editionTag(name), "Else") << name;
    }
}

TEST(EditionTagTest, NamesReadFromRegistryAreTaggedWhole) {
    RegistryMemory reg;
    reg.setString(kFirst, "ProductName", "Microsoft Windows ME");
    EXPECT_EQ(editionTag(productName(reg)), "ME");
    reg.setString(kFirst, "ProductName", "Microsoft Windows XP ");
    EXPECT_EQ(editionTag(productName(reg)), "Else");
}
