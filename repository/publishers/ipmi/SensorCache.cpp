#include "SensorCache.h"

#include "SensorReader.h"

namespace nvx4::repository {

std::shared_ptr<const SensorCache::Records> SensorCache::records(IpmiConnection& connection) {
    SensorReader reader(connection);
    const Bytes stamp = reader.repositoryStamp();
    std::shared_future<std::shared_ptr<const Records>> running;
    std::promise<std::shared_ptr<const Records>> walk;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (records_ && stamp == stamp_) return records_;
        // One walk at a time: concurrent walks would cancel each other's reservation.
        if (walking_.valid()) {
            running = walking_;
        } else {
            walking_ = walk.get_future().share();
        }
    }
    if (running.valid()) return running.get();
    std::shared_ptr<const Records> fresh;
    try {
        fresh = std::make_shared<const Records>(reader.records());
    } catch (...) {
        walk.set_exception(std::current_exception());
        std::lock_guard<std::mutex> lock(mutex_);
        walking_ = {};
        throw;
    }
    walk.set_value(fresh);
    std::lock_guard<std::mutex> lock(mutex_);
    stamp_ = stamp;
    records_ = fresh;
    walking_ = {};
    return fresh;
}

std::shared_ptr<const SensorCache::Readings> SensorCache::readings(
    IpmiConnection& connection, const std::string& systemName, std::chrono::milliseconds maxAge) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (readings_ && Clock::now() - readAt_ < maxAge) return readings_;
    }
    const std::shared_ptr<const Records> sensors = records(connection);
    SensorReader reader(connection);
    auto fresh = std::make_shared<Readings>();
    for (const SensorRecord& sensor : *sensors) {
        if (sensor.numeric())
            fresh->numeric.push_back(reader.numeric(sensor, systemName));
        else
            fresh->discrete.push_back(reader.discrete(sensor, systemName));
    }
    std::lock_guard<std::mutex> lock(mutex_);
    readings_ = fresh;
    readAt_ = Clock::now();
    return fresh;
}

}  // namespace nvx4::repository
