// The journal files of a set of journal directories (each directory and its machine-id
// subdirectories, as the journal library reads them), checked for readability before the journal
// is opened: the library skips a file it cannot open, which would pass incomplete logs off as
// complete ones.
#ifndef NVX4_REPOSITORY_JOURNALFILES_H
#define NVX4_REPOSITORY_JOURNALFILES_H

#include <cstddef>
#include <string>

namespace nvx4::repository {

class JournalFiles {
  public:
    // The number of journal files of a journal directory, 0 when it does not exist. Throws
    // PublishError for a directory or file that is there but cannot be opened.
    static std::size_t countReadable(const std::string& directory);
    // The same for this machine's journal under /run/log/journal and /var/log/journal, of its
    // own machine id only (of any when it has none), as the journal library opens it.
    static std::size_t countMachine();
};

}  // namespace nvx4::repository

#endif
