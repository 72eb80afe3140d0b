// The fields of one journal entry that the event logs use, copied out of the journal.
#ifndef NVX4_REPOSITORY_JOURNALENTRY_H
#define NVX4_REPOSITORY_JOURNALENTRY_H

#include <cstdint>
#include <optional>
#include <string>

namespace nvx4::repository {

struct JournalEntry {
    std::uint64_t seqnum = 0;
    std::uint64_t realtimeUsec = 0;
    // The first EventRecord::kMessageBytes bytes of MESSAGE, as they are (any bytes).
    std::optional<std::string> message;
    std::optional<std::string> priority;
    std::optional<std::string> facility;
    std::optional<std::string> identifier;
    std::optional<std::string> command;
    std::optional<std::string> uid;
    std::optional<std::string> transport;
    std::optional<std::string> unit;
    std::optional<std::string> userUnit;
    std::optional<std::string> session;
    std::optional<std::string> hostname;
};

}  // namespace nvx4::repository

#endif
