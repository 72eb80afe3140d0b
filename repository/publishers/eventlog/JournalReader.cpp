#include "JournalReader.h"

#include <systemd/sd-journal.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

#include "EventRecord.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

namespace {

using Field = std::optional<std::string> JournalEntry::*;

const std::pair<std::string_view, Field> kFields[] = {
    {"PRIORITY", &JournalEntry::priority},
    {"SYSLOG_FACILITY", &JournalEntry::facility},
    {"SYSLOG_IDENTIFIER", &JournalEntry::identifier},
    {"_COMM", &JournalEntry::command},
    {"_UID", &JournalEntry::uid},
    {"_TRANSPORT", &JournalEntry::transport},
    {"_SYSTEMD_UNIT", &JournalEntry::unit},
    {"_SYSTEMD_USER_UNIT", &JournalEntry::userUnit},
    {"_SYSTEMD_SESSION", &JournalEntry::session},
    {"_HOSTNAME", &JournalEntry::hostname},
    {"MESSAGE", &JournalEntry::message},
};

constexpr std::string_view kMessage = "MESSAGE";

int check(int result, const char* what) {
    if (result < 0) throw PublishError::fromErrno(what, -result);
    return result;
}

// The sequence number is the cursor's "i=" part, in hexadecimal.
std::uint64_t seqnumOf(std::string_view cursor) {
    for (std::size_t at = 0; at < cursor.size();) {
        const std::size_t end = std::min(cursor.find(';', at), cursor.size());
        if (cursor.compare(at, 2, "i=") == 0)
            return std::strtoull(std::string(cursor.substr(at + 2, end - at - 2)).c_str(), nullptr,
                                 16);
        at = end + 1;
    }
    return 0;
}

}  // namespace

JournalReader::JournalReader(const std::string& directory) {
    if (directory.empty())
        check(sd_journal_open(&journal_, SD_JOURNAL_LOCAL_ONLY), "the journal");
    else
        check(sd_journal_open_directory(&journal_, directory.c_str(), 0), directory.c_str());
    // Longer compressed messages are only decompressed as far as the description needs.
    sd_journal_set_data_threshold(journal_, kMessage.size() + 1 + EventRecord::kMessageBytes);
}

JournalReader::~JournalReader() { sd_journal_close(journal_); }

void JournalReader::selectSecurity() {
    for (std::string_view match : EventLogRule::securityMatches()) {
        check(sd_journal_add_match(journal_, match.data(), match.size()), "the journal");
        check(sd_journal_add_disjunction(journal_), "the journal");
    }
}

std::vector<JournalEntry> JournalReader::newest(EventLog log, std::size_t limit,
                                                std::size_t window) {
    sd_journal_flush_matches(journal_);
    const bool matched = log == EventLog::Security;
    if (matched) selectSecurity();
    check(sd_journal_seek_tail(journal_), "the journal");
    std::vector<JournalEntry> found;
    for (std::size_t looked = 0; found.size() < limit && (matched || looked < window); ++looked) {
        if (check(sd_journal_previous(journal_), "the journal") == 0) break;
        JournalEntry entry = current();
        if (EventLogRule::of(entry) == log) found.push_back(std::move(entry));
    }
    std::reverse(found.begin(), found.end());
    return found;
}

JournalEntry JournalReader::current() {
    JournalEntry entry;
    check(sd_journal_get_realtime_usec(journal_, &entry.realtimeUsec), "the journal");
    char* cursor = nullptr;
    check(sd_journal_get_cursor(journal_, &cursor), "the journal");
    entry.seqnum = seqnumOf(cursor);
    std::free(cursor);

    const void* data = nullptr;
    size_t length = 0;
    sd_journal_restart_data(journal_);
    while (check(sd_journal_enumerate_available_data(journal_, &data, &length), "the journal") >
           0) {
        const std::string_view item(static_cast<const char*>(data), length);
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view name = item.substr(0, equals);
        for (const auto& [fieldName, field] : kFields) {
            if (name != fieldName || entry.*field) continue;
            std::string_view value = item.substr(equals + 1);
            if (name == kMessage) value = value.substr(0, EventRecord::kMessageBytes);
            entry.*field = std::string(value);
            break;
        }
    }
    return entry;
}

}  // namespace nvx4::repository
