#include "JournalFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cctype>
#include <memory>
#include <string_view>

#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

namespace {

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isJournalFile(std::string_view name) {
    return endsWith(name, ".journal") || endsWith(name, ".journal~");
}

// Machine-id subdirectories: 32 hexadecimal digits.
bool isMachineDirectory(std::string_view name) {
    if (name.size() != 32) return false;
    for (char c : name)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

void checkReadable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // A file rotated away meanwhile is no error.
        if (errno == ENOENT) return;
        throw PublishError::fromErrno(path, errno);
    }
    ::close(fd);
}

std::size_t countIn(const std::string& directory, bool descend) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) {
        if (errno == ENOENT) return 0;
        throw PublishError::fromErrno(directory, errno);
    }
    std::size_t files = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        const std::string path = directory + "/" + entry->d_name;
        if (isJournalFile(name)) {
            checkReadable(path);
            ++files;
        } else if (descend && isMachineDirectory(name)) {
            files += countIn(path, false);
        }
    }
    return files;
}

}  // namespace

std::size_t JournalFiles::countReadable(const std::vector<std::string>& directories) {
    std::size_t files = 0;
    for (const std::string& directory : directories) files += countIn(directory, true);
    return files;
}

}  // namespace nvx4::repository
