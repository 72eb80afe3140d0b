#include "JournalFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <systemd/sd-id128.h>
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

// The files of the directory and, when `descend`, of its machine-id subdirectories (only that of
// `machine` when it is given).
std::size_t countIn(const std::string& directory, bool descend, std::string_view machine = {}) {
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
        } else if (descend && isMachineDirectory(name) && (machine.empty() || name == machine)) {
            files += countIn(path, false);
        }
    }
    return files;
}

}  // namespace

std::size_t JournalFiles::countReadable(const std::string& directory) {
    return countIn(directory, true);
}

std::size_t JournalFiles::countMachine() {
    sd_id128_t id;
    char text[SD_ID128_STRING_MAX] = {};
    if (sd_id128_get_machine(&id) == 0) sd_id128_to_string(id, text);
    return countIn("/run/log/journal", true, text) + countIn("/var/log/journal", true, text);
}

}  // namespace nvx4::repository
