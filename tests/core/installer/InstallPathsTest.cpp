#include "core/installer/InstallPaths.h"

#include <gtest/gtest.h>

using installer::installerFilePath;

TEST(InstallPathsTest, PosixJoinsWithOneSlash) {
    EXPECT_EQ(installerFilePath("/opt/setup", "\\InstMsiA.exe", '/'), "/opt/setup/InstMsiA.exe");
    EXPECT_EQ(installerFilePath("/opt/setup/", "\\Tallyvox-Number.msi", '/'),
              "/opt/setup/Tallyvox-Number.msi");
    EXPECT_EQ(installerFilePath("/", "\\tv_enua.exe", '/'), "/tv_enua.exe");
    // A backslash inside a POSIX directory name is part of the name.
    EXPECT_EQ(installerFilePath("/tmp/a\\b", "\\spchapi.exe", '/'), "/tmp/a\\b/spchapi.exe");
}

TEST(InstallPathsTest, WindowsJoinsWithOneBackslash) {
    EXPECT_EQ(installerFilePath("D:\\Setup", "\\MsAgent.exe", '\\'), "D:\\Setup\\MsAgent.exe");
    EXPECT_EQ(installerFilePath("D:\\", "\\MsAgent.exe", '\\'), "D:\\MsAgent.exe");
    EXPECT_EQ(installerFilePath("D:/Setup/cd", "\\lhttsjpj.exe", '\\'), "D:\\Setup\\cd\\lhttsjpj.exe");
}
