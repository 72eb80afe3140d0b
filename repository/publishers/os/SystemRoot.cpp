#include "SystemRoot.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "nvx4/repository/Publisher.h"

namespace nvx4::repository::os {

namespace {

// Reads a whole file; on failure returns nothing and leaves errno set.
std::optional<std::string> slurp(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return std::nullopt;
        }
    }
    ::close(fd);
    return text;
}

bool isPid(const char* name) {
    if (*name == '\0') return false;
    for (const char* c = name; *c != '\0'; ++c)
        if (*c < '0' || *c > '9') return false;
    return true;
}

}  // namespace

SystemRoot::SystemRoot(const std::string& root) {
    if (root.empty() || root.front() != '/')
        throw std::invalid_argument("the root must be an absolute folder, not '" + root + "'");
    prefix_ = root;
    while (!prefix_.empty() && prefix_.back() == '/') prefix_.pop_back();
}

std::string SystemRoot::read(const std::string& absolute) const {
    std::optional<std::string> text = slurp(path(absolute));
    if (!text) throw PublishError::fromErrno(path(absolute), errno);
    return *text;
}

std::optional<std::string> SystemRoot::readIfPresent(const std::string& absolute) const {
    std::optional<std::string> text = slurp(path(absolute));
    if (!text && errno != ENOENT && errno != ENOTDIR)
        throw PublishError::fromErrno(path(absolute), errno);
    return text;
}

std::optional<std::string> SystemRoot::readOfProcess(int pid, const char* file) const {
    const std::string absolute = "/proc/" + std::to_string(pid) + "/" + file;
    std::optional<std::string> text = slurp(path(absolute));
    if (!text && errno != ENOENT && errno != ESRCH)
        throw PublishError::fromErrno(path(absolute), errno);
    return text;
}

std::vector<int> SystemRoot::processIds() const {
    const std::string folder = path("/proc");
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) throw PublishError::fromErrno(folder, errno);
    std::vector<int> pids;
    while (const dirent* entry = ::readdir(dir.get()))
        if (isPid(entry->d_name)) pids.push_back(std::atoi(entry->d_name));
    std::sort(pids.begin(), pids.end());
    return pids;
}

}  // namespace nvx4::repository::os
