#include "EventLogRule.h"

namespace nvx4::repository {

namespace {

constexpr std::string_view kKern = "0", kDaemon = "3", kAuth = "4", kAuthPriv = "10";

bool is(const std::optional<std::string>& field, std::string_view value) {
    return field && *field == value;
}

}  // namespace

const std::vector<std::string_view>& EventLogRule::securityMatches() {
    static const std::vector<std::string_view> matches = {"_TRANSPORT=audit", "SYSLOG_FACILITY=4",
                                                          "SYSLOG_FACILITY=10"};
    return matches;
}

EventLog EventLogRule::of(const JournalEntry& entry) {
    if (is(entry.transport, "audit") || is(entry.facility, kAuth) || is(entry.facility, kAuthPriv))
        return EventLog::Security;
    if (is(entry.transport, "kernel") || is(entry.facility, kKern) || is(entry.facility, kDaemon))
        return EventLog::System;
    const bool systemUnit = entry.unit && !entry.userUnit && !entry.session;
    if (!entry.facility && systemUnit) return EventLog::System;
    return EventLog::Application;
}

}  // namespace nvx4::repository
