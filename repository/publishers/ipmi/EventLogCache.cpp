#include "EventLogCache.h"

#include <iterator>

namespace nvx4::repository {

Bytes EventLogCache::stamp(const Bytes& info) {
    // The entry count (bytes 1-2) and the times of the last addition and erase (bytes 5-12).
    constexpr std::size_t kStampBytes[] = {1, 2, 5, 6, 7, 8, 9, 10, 11, 12};
    Bytes key;
    key.reserve(std::size(kStampBytes));
    for (std::size_t at : kStampBytes) key.push_back(at < info.size() ? info[at] : 0);
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
