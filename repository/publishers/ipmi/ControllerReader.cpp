#include "ControllerReader.h"

#include <cstdio>

#include "IpmiCommands.h"
#include "IpmiFormat.h"

namespace nvx4::repository {

using namespace ipmi_commands;

namespace {

// One watchdog count is 100 ms.
constexpr int kWatchdogTickMs = 100;

bool bit(std::uint8_t byte, int number) { return ((byte >> number) & 1) != 0; }

}  // namespace

std::string ControllerReader::deviceId() {
    return std::to_string(connection_.request(kGetDeviceId).at(0));
}

PropertyValues ControllerReader::bmc() {
    const Bytes id = connection_.request(kGetDeviceId);
    if (id.size() < 11)
        throw PublishError(PublishError::kProviderFailure, "Get Device ID answer too short");
    char firmware[16];
    std::snprintf(firmware, sizeof firmware, "%u.%02x", id[2] & 0x7fu, id[3]);
    PropertyValues values = {
        {L"DeviceID", Value::text(std::to_string(id[0]))},
        {L"SystemName", Value::text(systemName_)},
        {L"DeviceRevision", Value::text(std::to_string(id[1] & 0x0f))},
        {L"FirmwareVersion", Value::text(firmware)},
        {L"IpmiVersion",
         Value::text(std::to_string(id[4] & 0x0f) + "." + std::to_string(id[4] >> 4))},
        {L"ManufacuturerID", Value::text(std::to_string(IpmiFormat::little(id, 6, 3) & 0xfffff))},
        {L"ProductID", Value::text(std::to_string(IpmiFormat::little(id, 9, 2)))},
    };
    try {
        values.emplace_back(L"Status",
                            Value::text(selfTestStatus(connection_.request(kGetSelfTest).at(0))));
    } catch (const IpmiCommandError&) {
        values.emplace_back(L"Status", Value::text("Unknown"));
    }
    if (bit(id[5], 1)) {  // the BMC has an SDR repository
        try {
            const Bytes info = connection_.request(kGetSdrRepositoryInfo);
            values.emplace_back(L"SDRVersion", Value::text(IpmiFormat::bcdVersion(info.at(0))));
        } catch (const IpmiCommandError&) {
        }
    }
    return values;
}

const char* ControllerReader::selfTestStatus(std::uint8_t result) {
    switch (result) {
        case 0x55:
            return "OK";
        case 0x57:
            return "Degraded";
        case 0x58:
            return "Error";
        default:
            return "Unknown";
    }
}

int ControllerReader::monitoredEntity(std::uint8_t timerUse) {
    switch (timerUse & 0x07) {
        case 1:  // BIOS FRB2
        case 2:
            return 6;  // BIOS/POST: BIOS boot process
        case 3:
            return 3;  // OS load: operating system boot process
        case 4:
            return 2;  // SMS/OS: operating system
        case 5:
            return 1;  // OEM: other
        default:
            return 0;
    }
}

PropertyValues ControllerReader::watchdog() {
    const Bytes timer = connection_.request(kGetWatchdog);
    if (timer.size() < 6)
        throw PublishError(PublishError::kProviderFailure, "Get Watchdog Timer answer too short");
    // Some controllers leave out the present countdown: then it is unknown, not zero.
    const Value present = timer.size() >= 8
                              ? Value::integer(IpmiFormat::little(timer, 6, 2) * kWatchdogTickMs)
                              : Value();
    return {
        {L"DeviceID", Value::text(deviceId())},
        {L"SystemName", Value::text(systemName_)},
        {L"ActionOnExpiration", Value::integer(timer[1] & 0x07)},
        {L"MonitoredEntity", Value::integer(monitoredEntity(timer[0]))},
        {L"TimeoutInterval", Value::integer(IpmiFormat::little(timer, 4, 2) * kWatchdogTickMs)},
        {L"TimerResolution", Value::integer(kWatchdogTickMs)},
        {L"LogTimeout", Value::boolean(!bit(timer[0], 7))},
        {L"TimerStop", Value::boolean(!bit(timer[0], 6))},
        {L"PresentValue", present},
        {L"PreTimeoutInterrupt", Value::integer((timer[1] >> 4) & 0x07)},
        {L"PreTimeoutInterval", Value::integer(timer[2])},
    };
}

std::string ControllerReader::lastPowerEvent(std::uint8_t bits) {
    static const char* const causes[] = {"ac-failed", "overload", "interlock", "fault", "command"};
    std::string text;
    for (int i = 0; i < 5; ++i)
        if (bit(bits, i)) text += (text.empty() ? "" : " ") + std::string(causes[i]);
    return text;
}

PropertyValues ControllerReader::chassis() {
    const Bytes status = connection_.request(kGetChassisStatus);
    if (status.size() < 3)
        throw PublishError(PublishError::kProviderFailure, "Get Chassis Status answer too short");
    const std::uint8_t power = status[0], misc = status[2];
    return {
        {L"SystemName", Value::text(systemName_)},
        {L"PowerRestorePolicy", Value::integer((power >> 5) & 0x03)},
        {L"PowerControlFault", Value::boolean(bit(power, 4))},
        {L"PowerFault", Value::boolean(bit(power, 3))},
        {L"Interlock", Value::boolean(bit(power, 2))},
        {L"PowerOverload", Value::boolean(bit(power, 1))},
        {L"PowerIsOn", Value::boolean(bit(power, 0))},
        {L"LastPowerEvent", Value::text(lastPowerEvent(status[1]))},
        {L"CoolingFanFault", Value::boolean(bit(misc, 3))},
        {L"DriverFault", Value::boolean(bit(misc, 2))},
        {L"FrontPanelLockout", Value::boolean(bit(misc, 1))},
        {L"ChassisIntrusion", Value::boolean(bit(misc, 0))},
    };
}

}  // namespace nvx4::repository
