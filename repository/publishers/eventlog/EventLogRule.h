// Which of the three event logs a journal entry belongs to. The first rule that holds decides:
//   security:    audit records (_TRANSPORT=audit), syslog facilities auth (4) and authpriv (10);
//   system:      the kernel (_TRANSPORT=kernel), syslog facilities kern (0) and daemon (3), and,
//                when the entry names no other facility, entries of system units (_SYSTEMD_UNIT
//                set, neither _SYSTEMD_USER_UNIT nor _SYSTEMD_SESSION: users' own programs run in
//                user units and login sessions);
//   application: everything else (users' programs, facilities user, mail, local0-7, ...).
#ifndef NVX4_REPOSITORY_EVENTLOGRULE_H
#define NVX4_REPOSITORY_EVENTLOGRULE_H

#include <string_view>
#include <vector>

#include "JournalEntry.h"

namespace nvx4::repository {

enum class EventLog { Application, Security, System };

class EventLogRule {
  public:
    static EventLog of(const JournalEntry& entry);
    // Journal matches ("FIELD=value", any of them) that select exactly the security log.
    static const std::vector<std::string_view>& securityMatches();
};

}  // namespace nvx4::repository

#endif
