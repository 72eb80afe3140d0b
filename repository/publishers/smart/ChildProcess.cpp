#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

extern char** environ;

namespace nvx4::repository {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(int error, const char* what) {
    throw std::system_error(error, std::generic_category(), what);
}

class Pipe {
  public:
    Pipe() {
        if (::pipe2(fds_, O_CLOEXEC) != 0) fail(errno, "pipe");
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    int read() const { return fds_[0]; }
    int write() const { return fds_[1]; }
    void closeRead() { close(0); }
    void closeWrite() { close(1); }

  private:
    void close(int i) {
        if (fds_[i] >= 0) ::close(fds_[i]);
        fds_[i] = -1;
    }
    int fds_[2] = {-1, -1};
};

class SpawnActions {
  public:
    explicit SpawnActions(int output) {
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions_, output, 1);
        posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

// Reads the pipe until end of file or the deadline; false when the deadline passed.
bool readUntil(int fd, Clock::time_point deadline, std::string& output) {
    char buffer[16384];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        output.append(buffer, static_cast<std::size_t>(n));
    }
}

// Waits for the child until the deadline, then kills it; -1 unless it exited by itself.
int reap(pid_t child, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR) return -1;
        if (Clock::now() >= deadline) break;
        ::usleep(5000);
    }
    ::kill(child, SIGKILL);
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return -1;
}

}  // namespace

ChildProcess::Result ChildProcess::run(const std::vector<std::string>& argv,
                                       std::chrono::milliseconds timeout) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    Result result;
    Pipe pipe;
    pid_t child = -1;
    {
        SpawnActions actions(pipe.write());
        const int error =
            ::posix_spawnp(&child, args[0], actions.get(), nullptr, args.data(), environ);
        if (error == ENOENT) {
            result.found = false;
            return result;
        }
        if (error != 0) fail(error, argv[0].c_str());
    }
    pipe.closeWrite();
    const Clock::time_point deadline = Clock::now() + timeout;
    const bool complete = readUntil(pipe.read(), deadline, result.output);
    result.exitStatus = reap(child, complete ? deadline : Clock::now());
    result.timedOut = !complete || (result.exitStatus < 0 && Clock::now() >= deadline);
    return result;
}

}  // namespace nvx4::repository
