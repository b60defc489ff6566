#include "core/installer/InstallChains.h"

#include <gtest/gtest.h>

#include <string>

using installer::chooseChain;
using installer::InstallChain;

TEST(InstallChainsTest, FirstTwentyCharactersChooseTheChain) {
    EXPECT_EQ(chooseChain("Microsoft Windows 95"), InstallChain::Windows95);
    EXPECT_EQ(chooseChain("Microsoft Windows 95 OSR2"), InstallChain::Windows95);
    EXPECT_EQ(chooseChain("Microsoft Windows 98"), InstallChain::Windows98Me);
    EXPECT_EQ(chooseChain("Microsoft Windows 98 Second Edition"), InstallChain::Windows98Me);
    EXPECT_EQ(chooseChain("Microsoft Windows ME"), InstallChain::Windows98Me);
    EXPECT_EQ(chooseChain("Microsoft Windows XP"), InstallChain::WindowsXp);
}

TEST(InstallChainsTest, UnmatchedNamesTakeTheXpChain) {
    for (const std::string& name : std::initializer_list<std::string>{
             "Microsoft Windows 2000", "Windows Vista (TM) Business", "microsoft windows 98",
             "Microsoft Windows Me", "Microsoft Windows 9", "", std::string(254, '\0')}) {
        EXPECT_EQ(chooseChain(name), InstallChain::WindowsXp) << name;
    }
}
