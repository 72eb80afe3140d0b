// The controller's own classes: the BMC (Get Device ID, Get Self Test Results, Get SDR
// Repository Info), its watchdog timer (Get Watchdog Timer) and the chassis (Get Chassis Status).
#ifndef NVX4_REPOSITORY_CONTROLLERREADER_H
#define NVX4_REPOSITORY_CONTROLLERREADER_H

#include <string>

#include "IpmiConnection.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

class ControllerReader {
  public:
    ControllerReader(IpmiConnection& connection, std::string systemName)
        : connection_(connection), systemName_(std::move(systemName)) {}

    PropertyValues bmc();
    PropertyValues watchdog();
    PropertyValues chassis();

    // The self-test result byte as a status: "OK", "Degraded", "Error" or "Unknown".
    static const char* selfTestStatus(std::uint8_t result);
    // The timer use of the watchdog as the monitored-entity code of the class.
    static int monitoredEntity(std::uint8_t timerUse);
    // The causes of the last power event, as words separated by spaces.
    static std::string lastPowerEvent(std::uint8_t bits);

  private:
    std::string deviceId();

    IpmiConnection& connection_;
    std::string systemName_;
};

}  // namespace nvx4::repository

#endif
