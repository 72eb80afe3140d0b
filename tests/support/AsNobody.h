// Runs a check as a user other than root, for files closed to their reader: root reads any file.
#ifndef NVX4_TEST_ASNOBODY_H
#define NVX4_TEST_ASNOBODY_H

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace nvx4::test {

// What `action` returns when run in a child process as nobody (when the tests run as root), or
// "child failed".
inline std::string asNobody(const std::function<std::string()>& action) {
    int channel[2];
    if (::pipe(channel) != 0) return "child failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(1);
        const std::string answer = action();
        const bool written =
            ::write(channel[1], answer.data(), answer.size()) == ssize_t(answer.size());
        ::_exit(written ? 0 : 1);
    }
    ::close(channel[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, std::size_t(got));
    ::close(channel[0]);
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? answer : "child failed";
}

}  // namespace nvx4::test

#endif
