// The SEL entries last read. Get SEL Info is asked at every enumeration; the entries are read
// again only when its entry count or its last addition or erase time changed. The lock guards
// the stored entries only; the BMC is asked without it.
#ifndef NVX4_REPOSITORY_EVENTLOGCACHE_H
#define NVX4_REPOSITORY_EVENTLOGCACHE_H

#include <memory>
#include <mutex>
#include <vector>

#include "EventLogReader.h"

namespace nvx4::repository {

class EventLogCache {
  public:
    struct Log {
        Bytes info;
        std::vector<SelEntry> entries;
    };

    std::shared_ptr<const Log> read(IpmiConnection& connection);
    // How often the entries were read (for tests and diagnostics).
    int entryReads() const;

  private:
    static Bytes stamp(const Bytes& info);

    mutable std::mutex mutex_;
    std::shared_ptr<const Log> log_;
    int entryReads_ = 0;
};

}  // namespace nvx4::repository

#endif
