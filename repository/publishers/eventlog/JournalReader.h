// The most recent entries of one event log, read from the journal through libsystemd, walking
// back from the tail: the machine's journal (system and users' files, as journalctl shows it) or
// the journal files of one directory.
#ifndef NVX4_REPOSITORY_JOURNALREADER_H
#define NVX4_REPOSITORY_JOURNALREADER_H

#include <cstddef>
#include <string>
#include <vector>

#include "EventLogRule.h"
#include "JournalEntry.h"

typedef struct sd_journal sd_journal;

namespace nvx4::repository {

class JournalReader {
  public:
    // An empty directory stands for the machine's journal. Throws PublishError.
    explicit JournalReader(const std::string& directory);
    ~JournalReader();
    JournalReader(const JournalReader&) = delete;
    JournalReader& operator=(const JournalReader&) = delete;

    // Up to `limit` entries of the log, oldest first. The security log is selected by journal
    // matches, so it costs only its own entries; the other two are told apart entry by entry,
    // looking at no more than `window` of the journal's most recent entries.
    std::vector<JournalEntry> newest(EventLog log, std::size_t limit, std::size_t window);

  private:
    void selectSecurity();
    JournalEntry current();

    sd_journal* journal_ = nullptr;
};

}  // namespace nvx4::repository

#endif
