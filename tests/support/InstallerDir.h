#pragma once

#include "platform/Process.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace installer::testing {

// A temporary launcher directory whose installers are shell scripts that log "start NAME" and
// "end NAME" around a short pause, so that overlapping runs show in the log.
class InstallerDir {
public:
    std::string path() const { return dir_.path().toStdString(); }
    std::string logPath() const { return path() + "/install.log"; }

    void addInstaller(const std::string& name, int exitCode = 0) {
        const std::string body = "#!/bin/sh\nn=$(basename \"$0\")\necho \"start $n\" >> '" + logPath() +
                                 "'\nsleep 0.05\necho \"end $n\" >> '" + logPath() + "'\nexit " +
                                 std::to_string(exitCode) + "\n";
        write(name, body, 0755);
    }

    void addInstallers(const std::vector<std::string>& names) {
        for (const auto& n : names) addInstaller(n);
    }

    void write(const std::string& name, const std::string& body, unsigned mode) {
        const std::string p = path() + "/" + name;
        QFile f(QString::fromStdString(p));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(body.data(), static_cast<qint64>(body.size()));
        f.close();
        ::chmod(p.c_str(), mode);
    }

    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        QFile f(QString::fromStdString(logPath()));
        if (!f.open(QIODevice::ReadOnly)) return lines;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (!line.isEmpty()) lines.push_back(line.toStdString());
        return lines;
    }

private:
    QTemporaryDir dir_;
};

// Wraps the real launcher, keeping every launch record and counting open handles.
class RecordingLauncher : public platform::ProcessLauncher {
public:
    explicit RecordingLauncher(platform::ProcessLauncher& real) : real_(real) {}

    bool shellExecute(const platform::ShellLaunch& launch, platform::ProcessHandle& process) override {
        launches.push_back(launch);
        const bool ok = real_.shellExecute(launch, process);
        if (process != platform::kNoProcess) ++openHandles;
        return ok;
    }
    std::uint32_t waitForProcess(platform::ProcessHandle process) override {
        ++waits;
        return real_.waitForProcess(process);
    }
    bool closeHandle(platform::ProcessHandle process) override {
        const bool ok = real_.closeHandle(process);
        if (ok) --openHandles;
        return ok;
    }

    std::vector<platform::ShellLaunch> launches;
    int openHandles = 0;
    int waits = 0;

private:
    platform::ProcessLauncher& real_;
};

// The installer tests' common ground: a scratch folder of stand-ins, started for real and recorded.
class RecordedInstallersTest : public ::testing::Test {
protected:
    InstallerDir dir;
    std::unique_ptr<platform::ProcessLauncher> real = platform::createSystemProcessLauncher();
    RecordingLauncher recorder{*real};
};

}  // namespace installer::testing
