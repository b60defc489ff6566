#include "platform/Process.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

using namespace platform;

namespace {

std::atomic<int> g_signals{0};
void countSignal(int) {
    ++g_signals;
}

class ProcessPosixTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    std::string writeFile(const std::string& name, const std::string& body, bool executable) {
        const std::string p = path(name);
        QFile f(QString::fromStdString(p));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(body.data(), static_cast<qint64>(body.size()));
        f.close();
        chmod(p.c_str(), executable ? 0755 : 0644);
        return p;
    }

    std::string log() const {
        QFile f(QString::fromStdString(path("log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }

    ShellLaunch open(const std::string& file) {
        ShellLaunch l;
        l.verb = "Open";
        l.file = file;
        return l;
    }

    QTemporaryDir dir;
    std::unique_ptr<ProcessLauncher> launcher = createSystemProcessLauncher();
};

}  // namespace

TEST_F(ProcessPosixTest, ExecutableRunsWithOnlyItsPathAndWaitEndsAfterIt) {
    const std::string script = writeFile(
        "inst.sh", "#!/bin/sh\nsleep 0.2\necho \"args=$# self=$0\" >> '" + path("log") + "'\n", true);
    ProcessHandle h = kNoProcess;
    ASSERT_TRUE(launcher->shellExecute(open(script), h));
    ASSERT_NE(h, kNoProcess);
    EXPECT_EQ(launcher->waitForProcess(h), kWaitProcessEnded);
    EXPECT_EQ(log(), "args=0 self=" + script + "\n");
    // An ended process's handle keeps answering until it is closed.
    EXPECT_EQ(launcher->waitForProcess(h), kWaitProcessEnded);
    EXPECT_TRUE(launcher->closeHandle(h));
    EXPECT_NE(launcher->waitForProcess(h), kWaitProcessEnded);
    EXPECT_FALSE(launcher->closeHandle(h));
}

TEST_F(ProcessPosixTest, ExitCodeIsNotLookedAt) {
    ProcessHandle h = kNoProcess;
    ASSERT_TRUE(launcher->shellExecute(open(writeFile("fail.sh", "#!/bin/sh\nexit 3\n", true)), h));
    EXPECT_EQ(launcher->waitForProcess(h), kWaitProcessEnded);
    launcher->closeHandle(h);
}

TEST_F(ProcessPosixTest, UnstartableFilesGiveNoHandleAndTheWaitFails) {
    const std::string plain = writeFile("plain.exe", "#!/bin/sh\nexit 0\n", false);
    const std::string noInterpreter = writeFile("noshebang.exe", "echo hi\n", true);
    for (const std::string& file : {path("missing.exe"), plain, noInterpreter, dir.path().toStdString()}) {
        ProcessHandle h = 42;
        EXPECT_FALSE(launcher->shellExecute(open(file), h)) << file;
        EXPECT_EQ(h, kNoProcess) << file;
        EXPECT_NE(launcher->waitForProcess(h), kWaitProcessEnded) << file;
    }
}

TEST_F(ProcessPosixTest, OnlyTheOpenVerbStartsAFile) {
    const std::string script = writeFile("ok.sh", "#!/bin/sh\nexit 0\n", true);
    ShellLaunch l = open(script);
    l.verb = "print";
    ProcessHandle h = kNoProcess;
    EXPECT_FALSE(launcher->shellExecute(l, h));
    EXPECT_EQ(h, kNoProcess);
    l.verb = "open";  // verbs ignore letter case, as the shell's do
    ASSERT_TRUE(launcher->shellExecute(l, h));
    EXPECT_EQ(launcher->waitForProcess(h), kWaitProcessEnded);
    launcher->closeHandle(h);
}

TEST_F(ProcessPosixTest, WaitSurvivesSignalsDeliveredMeanwhile) {
    struct sigaction sa {};
    sa.sa_handler = countSignal;  // no SA_RESTART: waitpid sees EINTR
    sigemptyset(&sa.sa_mask);
    struct sigaction old {};
    ASSERT_EQ(sigaction(SIGUSR1, &sa, &old), 0);
    g_signals = 0;

    const std::string script =
        writeFile("slow.sh", "#!/bin/sh\nsleep 0.6\necho done >> '" + path("log") + "'\n", true);
    ProcessHandle h = kNoProcess;
    ASSERT_TRUE(launcher->shellExecute(open(script), h));
    const pthread_t waiter = pthread_self();
    std::thread pester([waiter] {
        for (int i = 0; i < 5; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(80));
            pthread_kill(waiter, SIGUSR1);
        }
    });
    const std::uint32_t result = launcher->waitForProcess(h);
    pester.join();
    sigaction(SIGUSR1, &old, nullptr);

    EXPECT_EQ(result, kWaitProcessEnded);
    EXPECT_GE(g_signals.load(), 1);
    EXPECT_EQ(log(), "done\n");
    launcher->closeHandle(h);
}

TEST_F(ProcessPosixTest, DirectoryOfTheLaunchBecomesTheWorkingDirectory) {
    const std::string script = writeFile("cwd.sh", "#!/bin/sh\npwd > '" + path("log") + "'\n", true);
    ShellLaunch l = open(script);
    l.directory = dir.path().toStdString();
    ProcessHandle h = kNoProcess;
    ASSERT_TRUE(launcher->shellExecute(l, h));
    EXPECT_EQ(launcher->waitForProcess(h), kWaitProcessEnded);
    launcher->closeHandle(h);
    EXPECT_EQ(log(), dir.path().toStdString() + "\n");
}
