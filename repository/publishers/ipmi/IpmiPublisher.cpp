#include "IpmiPublisher.h"

#include <unistd.h>

#include <cwctype>
#include <functional>
#include <map>

#include "ControllerReader.h"
#include "FruReader.h"
#include "LanReader.h"

namespace nvx4::repository {

namespace {

using Context = IpmiPublisher::Context;
using Reader = std::function<std::vector<PropertyValues>(Context&)>;

std::wstring lower(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) c = static_cast<wchar_t>(std::towlower(c));
    return result;
}

std::string localHostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

template <PropertyValues (ControllerReader::*read)()>
std::vector<PropertyValues> controller(Context& c) {
    return {(ControllerReader(c.connection, c.systemName).*read)()};
}

std::vector<PropertyValues> numericSensors(Context& c) {
    return c.sensors.readings(c.connection, c.systemName, c.settings.sensorCache)->numeric;
}

std::vector<PropertyValues> discreteSensors(Context& c) {
    return c.sensors.readings(c.connection, c.systemName, c.settings.sensorCache)->discrete;
}

std::vector<PropertyValues> eventLog(Context& c) {
    EventLogReader reader(c.connection);
    const auto log = c.eventLog.read(c.connection);
    return {EventLogReader::log(log->info, reader.clock(), c.systemName)};
}

// Every entry, or with `latestOnly` the newest one.
std::vector<PropertyValues> eventRecords(Context& c, bool latestOnly) {
    EventLogReader reader(c.connection);
    const auto log = c.eventLog.read(c.connection);
    if (log->entries.empty()) return {};
    const auto sensors = c.sensors.records(c.connection);
    const SelClock clock = reader.clock();
    std::vector<PropertyValues> records;
    for (std::size_t i = latestOnly ? log->entries.size() - 1 : 0; i < log->entries.size(); ++i)
        records.push_back(EventLogReader::record(log->entries[i], clock, *sensors, c.systemName));
    return records;
}

std::vector<PropertyValues> inventory(Context& c) {
    const Bytes image = FruReader(c.connection).inventory();
    if (image.empty()) return {};
    return {FruReader::decode(image, c.systemName)};
}

template <std::vector<PropertyValues> (LanReader::*read)()>
std::vector<PropertyValues> lan(Context& c) {
    return (LanReader(c.connection, c.systemName).*read)();
}

const std::map<std::wstring, Reader>& readers() {
    static const std::map<std::wstring, Reader> table = {
        {L"nvx4_ipmi_bmc", &controller<&ControllerReader::bmc>},
        {L"nvx4_ipmi_watchdog", &controller<&ControllerReader::watchdog>},
        {L"nvx4_ipmi_chassisstatus", &controller<&ControllerReader::chassis>},
        {L"nvx4_ipmi_fru", &inventory},
        {L"nvx4_ipmi_channel", &lan<&LanReader::channels>},
        {L"nvx4_ipmi_lanuser", &lan<&LanReader::users>},
        {L"nvx4_ipmi_lanconfiguration", &lan<&LanReader::configurations>},
        {L"nvx4_ipmi_lanstatistics", &lan<&LanReader::statistics>},
        {L"nvx4_ipmi_eventfilter", &lan<&LanReader::eventFilters>},
        {L"nvx4_ipmi_alertpolicy", &lan<&LanReader::alertPolicies>},
        {L"nvx4_ipmi_numericsensor", &numericSensors},
        {L"nvx4_ipmi_discretesensor", &discreteSensors},
        {L"nvx4_ipmi_sel", &eventLog},
        {L"nvx4_ipmi_selrecord", [](Context& c) { return eventRecords(c, false); }},
        {L"nvx4_ipmi_latestselrecord", [](Context& c) { return eventRecords(c, true); }},
    };
    return table;
}

}  // namespace

std::shared_ptr<Publisher> IpmiPublisher::make(const std::string& argument) {
    return std::make_shared<IpmiPublisher>(argument);
}

bool IpmiPublisher::fills(std::wstring_view className) const {
    return readers().count(lower(className)) != 0;
}

IpmiSettings IpmiPublisher::settings() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (settings_) return *settings_;
    }
    IpmiSettings read;
    try {
        read = settingsPath_.empty() ? IpmiSettings() : IpmiSettings::read(settingsPath_);
    } catch (const PublishError&) {
        throw;
    } catch (const std::exception& e) {
        throw PublishError(PublishError::kProviderFailure, e.what());
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (!settings_) settings_ = read;
    return *settings_;
}

std::shared_ptr<IpmiConnection> IpmiPublisher::connection(const IpmiSettings& settings) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (connection_ && !connection_->broken()) return connection_;
    }
    std::shared_ptr<IpmiConnection> opened = IpmiConnection::open(settings);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!connection_ || connection_->broken()) connection_ = opened;
    return connection_;
}

std::vector<PropertyValues> IpmiPublisher::read(const std::wstring& className, Context& context) {
    return readers().at(className)(context);
}

Publication IpmiPublisher::publish(std::wstring_view className) {
    const IpmiSettings current = settings();
    std::shared_ptr<IpmiConnection> bmc = connection(current);
    if (!bmc)
        return Publication{
            {}, "no BMC device (/dev/ipmi" + std::to_string(current.interface) + " is absent)"};
    std::string systemName = current.systemName;
    if (systemName.empty()) systemName = current.overLan() ? current.host : localHostName();
    Context context{*bmc, current, systemName, sensors_, eventLog_};
    return Publication{read(lower(className), context), {}};
}

}  // namespace nvx4::repository
