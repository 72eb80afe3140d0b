// The `ipmi` publisher: classes NVX4_IPMI_* from the baseboard management controller, in-band
// through the kernel's device or over the LAN (RMCP+) as the settings file says.
#ifndef NVX4_REPOSITORY_IPMIPUBLISHER_H
#define NVX4_REPOSITORY_IPMIPUBLISHER_H

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "IpmiConnection.h"
#include "IpmiSettings.h"
#include "EventLogCache.h"
#include "SensorCache.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

class IpmiPublisher : public Publisher {
  public:
    // `argument` names the settings file; empty means the local BMC with default settings.
    explicit IpmiPublisher(std::string argument) : settingsPath_(std::move(argument)) {}
    static std::shared_ptr<Publisher> make(const std::string& argument);

    // What a class reader works with during one enumeration.
    struct Context {
        IpmiConnection& connection;
        const IpmiSettings& settings;
        std::string systemName;
        SensorCache& sensors;
        EventLogCache& eventLog;
    };

    bool fills(std::wstring_view className) const override;
    Publication publish(std::wstring_view className) override;
    // How often the SEL entries were read from the BMC.
    int eventLogReads() const { return eventLog_.entryReads(); }

  private:
    IpmiSettings settings();
    std::shared_ptr<IpmiConnection> connection(const IpmiSettings& settings);
    std::vector<PropertyValues> read(const std::wstring& className, Context& context);

    const std::string settingsPath_;
    std::mutex mutex_;  // guards the members below, never held while the BMC is asked
    std::optional<IpmiSettings> settings_;
    std::shared_ptr<IpmiConnection> connection_;
    SensorCache sensors_;
    EventLogCache eventLog_;
};

}  // namespace nvx4::repository

#endif
