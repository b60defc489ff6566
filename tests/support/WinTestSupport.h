#pragma once

// Windows test helpers: a scratch folder of stand-in installers, and registry values set for the
// length of one test and restored afterwards. Used only by the cross-built tests under Wine.

#include "platform/Process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

// The folder of the running test program; the cross build puts the stand-in installer beside it.
inline std::string testProgramDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().string();
}

inline std::string standInPath() {
    return testProgramDir() + "\\tvx_installer_standin.exe";
}

// A fresh folder under the temporary directory, removed with everything in it at the end.
class StandInDir {
public:
    StandInDir() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int serial = 0;
        dir_ = std::filesystem::path(temp) /
               ("tvx-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(dir_);
    }
    ~StandInDir() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    StandInDir(const StandInDir&) = delete;
    StandInDir& operator=(const StandInDir&) = delete;

    std::string path() const { return dir_.string(); }

    // name.exe is a copy of the stand-in; any other name (a package) is a placeholder file that only a
    // registered file type can open. A non-zero exitCode makes that installer fail.
    void addInstaller(const std::string& name, int exitCode = 0) {
        const std::filesystem::path target = dir_ / name;
        if (target.extension() == ".exe") {
            ASSERT_TRUE(CopyFileA(standInPath().c_str(), target.string().c_str(), FALSE)) << standInPath();
        } else {
            std::ofstream(target) << "placeholder package\n";
        }
        if (exitCode != 0) std::ofstream(dir_ / (name + ".exit")) << exitCode;
    }
    void addInstallers(const std::vector<std::string>& names) {
        for (const auto& n : names) addInstaller(n);
    }

    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        std::ifstream in(dir_ / "install.log");
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) lines.push_back(line);
        return lines;
    }

private:
    std::filesystem::path dir_;
};

// Passes every call to the real launcher and keeps the process handles it handed out. (Wine reports
// no process handle count, so each handle is asked whether it is still valid instead.)
class HandleWatch : public platform::ProcessLauncher {
public:
    bool shellExecute(const platform::ShellLaunch& launch, platform::ProcessHandle& process) override {
        const bool ok = real_->shellExecute(launch, process);
        if (process != platform::kNoProcess) handles_.push_back(process);
        return ok;
    }
    std::uint32_t waitForProcess(platform::ProcessHandle process) override {
        return real_->waitForProcess(process);
    }
    bool closeHandle(platform::ProcessHandle process) override {
        const bool ok = real_->closeHandle(process);
        closed_ += ok ? 1 : 0;
        return ok;
    }

    // Handles handed out and not closed since; 0 when every one was closed exactly once.
    int stillOpen() const {
        int open = 0;
        for (platform::ProcessHandle h : handles_) {
            DWORD flags = 0;
            open += GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) ? 1 : 0;
        }
        return std::max(open, static_cast<int>(handles_.size()) - closed_);
    }

private:
    std::unique_ptr<platform::ProcessLauncher> real_ = platform::createSystemProcessLauncher();
    std::vector<platform::ProcessHandle> handles_;
    int closed_ = 0;
};

// One string value under HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT, put back as it was at the end.
class ScopedRegValue {
public:
    ScopedRegValue(HKEY root, std::string subKey, std::string name)
        : root_(root), subKey_(std::move(subKey)), name_(std::move(name)) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        keyExisted_ = true;
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, name_.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::string data(size, '\0');
            RegQueryValueExA(key, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
            saved_ = Saved{type, data.substr(0, size)};
        }
        RegCloseKey(key);
    }
    ~ScopedRegValue() {
        if (!keyExisted_) {
            RegDeleteTreeA(root_, subKey_.c_str());
            return;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (saved_)
            RegSetValueExA(key, name_.c_str(), 0, saved_->type,
                           reinterpret_cast<const BYTE*>(saved_->data.data()),
                           static_cast<DWORD>(saved_->data.size()));
        else
            RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
    ScopedRegValue(const ScopedRegValue&) = delete;
    ScopedRegValue& operator=(const ScopedRegValue&) = delete;

    // Written as Windows' own tools write a string: REG_SZ, terminating NUL included.
    void set(const std::string& value) {
        HKEY key = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void remove() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, subKey_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }

private:
    struct Saved {
        DWORD type;
        std::string data;
    };
    HKEY root_;
    std::string subKey_;
    std::string name_;
    bool keyExisted_ = false;
    std::optional<Saved> saved_;
};

// Opening a .msi starts the stand-in with the package as its argument, while the object lives.
class PackagesOpenWithStandIn {
public:
    PackagesOpenWithStandIn() {
        extension_.set("TvxTest.Package");
        command_.set("\"" + standInPath() + "\" \"%1\"");
    }
    ~PackagesOpenWithStandIn() { RegDeleteTreeA(HKEY_CLASSES_ROOT, "TvxTest.Package"); }

private:
    ScopedRegValue extension_{HKEY_CLASSES_ROOT, ".msi", ""};
    ScopedRegValue command_{HKEY_CLASSES_ROOT, "TvxTest.Package\\shell\\Open\\command", ""};
};

}  // namespace wintest
