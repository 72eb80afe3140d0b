// The sensors last read from the BMC. Readings are reused for a short time; the sensor records
// are read again only when the SDR repository's stamp (counts, last addition and erase times)
// changes. The lock guards the stored results only; the BMC is asked without it, and callers
// that arrive during a walk of the records wait for its result instead of starting another.
#ifndef NVX4_REPOSITORY_SENSORCACHE_H
#define NVX4_REPOSITORY_SENSORCACHE_H

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "IpmiConnection.h"
#include "SensorRecord.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

class SensorCache {
  public:
    struct Readings {
        std::vector<PropertyValues> numeric, discrete;
    };
    using Records = std::vector<SensorRecord>;

    std::shared_ptr<const Readings> readings(IpmiConnection& connection,
                                             const std::string& systemName,
                                             std::chrono::milliseconds maxAge);
    std::shared_ptr<const Records> records(IpmiConnection& connection);

  private:
    using Clock = std::chrono::steady_clock;

    std::mutex mutex_;
    Bytes stamp_;
    std::shared_ptr<const Records> records_;
    std::shared_future<std::shared_ptr<const Records>> walking_;  // the walk under way, if any
    std::shared_ptr<const Readings> readings_;
    Clock::time_point readAt_;
};

}  // namespace nvx4::repository

#endif
