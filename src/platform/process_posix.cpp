#include "platform/ChildProcess.h"
#include "platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <strings.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <pthread.h>

#include <cerrno>
#include <chrono>
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

// --- child processes with piped standard streams, as the speech engines run them ---

namespace {

constexpr int kPollMs = 10;  // how often a running child checks for cancellation
constexpr int kExecFailed = 127;

struct Pipe {
    int fd[2] = {-1, -1};
    bool open() { return ::pipe2(fd, O_CLOEXEC) == 0; }
    void close(int i) {
        if (fd[i] >= 0) ::close(fd[i]);
        fd[i] = -1;
    }
    ~Pipe() {
        close(0);
        close(1);
    }
};

void readSome(int& fd, std::string& into) {
    char buf[65536];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) {
        into.append(buf, static_cast<size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        ::close(fd);
        fd = -1;
    }
}

void killTree(pid_t pid) {
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);  // in case it had not reached setpgid yet
}

}  // namespace

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::string& input, const std::atomic<bool>& cancel, ChildLimits limits) {
    ChildResult result;
    Pipe in, out, err, status;
    if (!in.open() || !out.open() || !err.open() || !status.open()) return result;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    // A child that exits before reading its input must not kill us with SIGPIPE.
    sigset_t pipeOnly, previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.timeoutMs);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return result;
    }
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::setpgid(0, 0);  // its own group: a kill at a limit reaches whatever it started too
        if (::getppid() != parent) ::_exit(kExecFailed);
        ::sigprocmask(SIG_SETMASK, &previous, nullptr);
        ::dup2(in.fd[0], 0);
        ::dup2(out.fd[1], 1);
        ::dup2(err.fd[1], 2);
        ::execv(program.c_str(), argv.data());
        const char failed = 1;
        [[maybe_unused]] ssize_t w = ::write(status.fd[1], &failed, 1);
        ::_exit(kExecFailed);
    }
    in.close(0);
    out.close(1);
    err.close(1);
    status.close(1);

    // The input is a single short line: it fits in the pipe buffer, so this cannot block.
    [[maybe_unused]] ssize_t w = ::write(in.fd[1], input.data(), input.size());
    in.close(1);
    if (w < 0 && errno == EPIPE) {
        timespec none{0, 0};
        siginfo_t info;
        ::sigtimedwait(&pipeOnly, &info, &none);  // drop the SIGPIPE that is now pending
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    int outFd = out.fd[0], errFd = err.fd[0];
    out.fd[0] = err.fd[0] = -1;
    while (outFd >= 0 || errFd >= 0) {
        if (cancel) {
            killTree(pid);
            result.cancelled = true;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            killTree(pid);
            result.timedOut = true;
            break;
        }
        if (result.out.size() + result.err.size() > limits.maxOutputBytes) {
            killTree(pid);
            result.overflowed = true;
            break;
        }
        pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (::poll(fds, 2, kPollMs) < 0 && errno != EINTR) break;
        if (outFd >= 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) readSome(outFd, result.out);
        if (errFd >= 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) readSome(errFd, result.err);
    }
    if (outFd >= 0) ::close(outFd);
    if (errFd >= 0) ::close(errFd);

    // A child that closed its output may still linger: the limits hold until it has exited.
    int wstatus = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &wstatus, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) break;
        if (done == 0 && (cancel || std::chrono::steady_clock::now() >= deadline)) {
            killTree(pid);
            if (cancel)
                result.cancelled = true;
            else
                result.timedOut = true;
            while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        if (done == 0) ::usleep(kPollMs * 1000);
    }
    char failed = 0;
    result.started = ::read(status.fd[0], &failed, 1) <= 0;
    if (WIFEXITED(wstatus)) result.exitCode = WEXITSTATUS(wstatus);
    if (WIFSIGNALED(wstatus)) result.signal = WTERMSIG(wstatus);
    return result;
}

}  // namespace platform
