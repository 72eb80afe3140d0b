// Publisher `smart`: the SMART state of the disks (NVX4_OS_SMART) from smartmontools' smartctl,
// run as a separate process for every device `smartctl --scan-open` finds.
//
// SMART reads can wake sleeping disks, so results are kept for a while (`cache=SECONDS`, default
// 300) and disks are read with `-n standby`: a disk found asleep keeps its previous reading, or
// shows without details until it is read awake. Each smartctl run may take `timeout=SECONDS`
// (default 30) before it is killed and the enumeration fails.
#ifndef NVX4_REPOSITORY_SMARTPUBLISHER_H
#define NVX4_REPOSITORY_SMARTPUBLISHER_H

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

class SmartPublisher : public Publisher {
  public:
    struct Settings {
        std::chrono::seconds cache{300};
        std::chrono::seconds timeout{30};
    };

    // Comma-separated `cache=SECONDS` and `timeout=SECONDS`; throws std::invalid_argument.
    static Settings parse(const std::string& argument);
    static std::shared_ptr<Publisher> make(const std::string& argument);

    explicit SmartPublisher(Settings settings) : settings_(settings) {}

    bool fills(std::wstring_view className) const override;
    Publication publish(std::wstring_view className) override;

  private:
    using Clock = std::chrono::steady_clock;
    using Readings = std::map<std::string, PropertyValues>;  // by DiskID

    // Runs smartctl; `readings` holds the disks read awake before and is updated.
    Publication read(Readings& readings) const;

    const Settings settings_;
    std::mutex mutex_;
    std::optional<Clock::time_point> readAt_;
    Publication cached_;
    Readings readings_;
};

}  // namespace nvx4::repository

#endif
