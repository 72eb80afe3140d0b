#include "EventLogCache.h"

namespace nvx4::repository {

Bytes EventLogCache::stamp(const Bytes& info) {
    Bytes key(info.begin() + 1, info.begin() + 3);               // entry count
    key.insert(key.end(), info.begin() + 5, info.begin() + 13);  // last addition and erase
    return key;
}

std::shared_ptr<const EventLogCache::Log> EventLogCache::read(IpmiConnection& connection) {
    EventLogReader reader(connection);
    Bytes info = reader.info();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (log_ && stamp(log_->info) == stamp(info)) {
            auto same = std::make_shared<Log>(*log_);
            same->info = std::move(info);
            return same;
        }
    }
    auto fresh = std::make_shared<Log>(Log{std::move(info), reader.entries()});
    std::lock_guard<std::mutex> lock(mutex_);
    log_ = fresh;
    ++entryReads_;
    return fresh;
}

int EventLogCache::entryReads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entryReads_;
}

}  // namespace nvx4::repository
