#include "platform/Process.h"

#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <set>

extern char** environ;

namespace platform {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

class PosixProcessLauncher : public ProcessLauncher {
public:
    bool shellExecute(const ShellLaunch& launch, ProcessHandle& process) override {
        process = kNoProcess;
        // No file associations here: only "Open" of an executable file can start anything.
        if (strcasecmp(launch.verb.c_str(), "open") != 0 || !isExecutableFile(launch.file)) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!launch.directory.empty())
            posix_spawn_file_actions_addchdir_np(&actions, launch.directory.c_str());
        std::string path = launch.file;
        char* argv[] = {path.data(), nullptr};
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) return false;
        children_.insert(pid);
        process = static_cast<ProcessHandle>(pid);
        return true;
    }

    std::uint32_t waitForProcess(ProcessHandle process) override {
        const auto pid = static_cast<pid_t>(process);
        if (process == kNoProcess || children_.count(pid) == 0) return kWaitFailed;
        if (reaped_.count(pid) != 0) return kWaitProcessEnded;
        int status = 0;
        pid_t r;
        do {
            r = waitpid(pid, &status, 0);
        } while (r < 0 && errno == EINTR);
        if (r != pid) return kWaitFailed;
        // Like an ended process's handle: valid until closed, and further waits return at once.
        reaped_.insert(pid);
        return kWaitProcessEnded;
    }

    bool closeHandle(ProcessHandle process) override {
        const auto pid = static_cast<pid_t>(process);
        if (process == kNoProcess || children_.erase(pid) == 0) return false;
        if (reaped_.erase(pid) == 0) waitpid(pid, nullptr, WNOHANG);
        return true;
    }

private:
    std::set<pid_t> children_;
    std::set<pid_t> reaped_;
};

}  // namespace

std::unique_ptr<ProcessLauncher> createSystemProcessLauncher() {
    return std::make_unique<PosixProcessLauncher>();
}

}  // namespace platform
