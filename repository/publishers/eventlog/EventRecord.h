// Turns a journal entry into the properties of an event-log instance:
//   SystemName        the entry's _HOSTNAME, else this machine's host name
//   RecordID          the entry's sequence number, in decimal
//   MessageTimestamp  __REALTIME_TIMESTAMP as CIM datetime in local time with its UTC offset
//   SourceName        SYSLOG_IDENTIFIER, else _COMM
//   Type              see typeOf
//   User              the user name of _UID, else the number; NULL without _UID
//   Description       MESSAGE as text (see descriptionOf)
#ifndef NVX4_REPOSITORY_EVENTRECORD_H
#define NVX4_REPOSITORY_EVENTRECORD_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "EventLogRule.h"
#include "JournalEntry.h"
#include "UserNames.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

class EventRecord {
  public:
    // The longest description, in bytes of UTF-8.
    static constexpr std::size_t kDescriptionBytes = 4096;
    // The bytes of a message that decide its description: every byte yields at least one byte of
    // text, and a character begun within the bound is at most 3 bytes longer.
    static constexpr std::size_t kMessageBytes = kDescriptionBytes + 3;

    explicit EventRecord(std::string hostName) : hostName_(std::move(hostName)) {}

    PropertyValues of(const JournalEntry& entry, EventLog log);

    // Security entries that carry an audit result (res=success|failed, success=yes|no) are
    // "Audit Success" or "Audit Failure"; otherwise PRIORITY 0-3 "Error", 4 "Warning", and 5-7,
    // none or anything else "Information".
    static std::string typeOf(const JournalEntry& entry, EventLog log);
    // The message decoded as UTF-8, a malformed sequence or a NUL byte becoming U+FFFD, cut after
    // the last whole character that fits in kDescriptionBytes.
    static std::wstring descriptionOf(std::string_view message);

  private:
    std::string hostName_;
    UserNames users_;
};

}  // namespace nvx4::repository

#endif
