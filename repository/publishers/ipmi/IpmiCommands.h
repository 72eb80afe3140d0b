// Every request the publisher sends to the BMC: network function, command code and the name its
// messages use.
#ifndef NVX4_REPOSITORY_IPMI_IPMICOMMANDS_H
#define NVX4_REPOSITORY_IPMI_IPMICOMMANDS_H

#include "IpmiConnection.h"

namespace nvx4::repository::ipmi_commands {

// Application
inline constexpr IpmiCommand kGetDeviceId{0x06, 0x01, "Get Device ID"};
inline constexpr IpmiCommand kGetSelfTest{0x06, 0x04, "Get Self Test Results"};
inline constexpr IpmiCommand kGetWatchdog{0x06, 0x25, "Get Watchdog Timer"};
inline constexpr IpmiCommand kGetChannelAccess{0x06, 0x41, "Get Channel Access"};
inline constexpr IpmiCommand kGetChannelInfo{0x06, 0x42, "Get Channel Info"};
inline constexpr IpmiCommand kGetUserAccess{0x06, 0x44, "Get User Access"};
inline constexpr IpmiCommand kGetUserName{0x06, 0x46, "Get User Name"};
// Chassis
inline constexpr IpmiCommand kGetChassisStatus{0x00, 0x01, "Get Chassis Status"};
// Sensor/event
inline constexpr IpmiCommand kGetPefCapabilities{0x04, 0x10, "Get PEF Capabilities"};
inline constexpr IpmiCommand kGetPefParameter{0x04, 0x13, "Get PEF Configuration Parameters"};
inline constexpr IpmiCommand kGetSensorThresholds{0x04, 0x27, "Get Sensor Thresholds"};
inline constexpr IpmiCommand kGetSensorReading{0x04, 0x2d, "Get Sensor Reading"};
// Storage
inline constexpr IpmiCommand kGetFruAreaInfo{0x0a, 0x10, "Get FRU Inventory Area Info"};
inline constexpr IpmiCommand kReadFruData{0x0a, 0x11, "Read FRU Data"};
inline constexpr IpmiCommand kGetSdrRepositoryInfo{0x0a, 0x20, "Get SDR Repository Info"};
inline constexpr IpmiCommand kReserveSdrRepository{0x0a, 0x22, "Reserve SDR Repository"};
inline constexpr IpmiCommand kGetSdr{0x0a, 0x23, "Get SDR"};
inline constexpr IpmiCommand kGetSelInfo{0x0a, 0x40, "Get SEL Info"};
inline constexpr IpmiCommand kGetSelEntry{0x0a, 0x43, "Get SEL Entry"};
inline constexpr IpmiCommand kGetSelTime{0x0a, 0x48, "Get SEL Time"};
// Transport
inline constexpr IpmiCommand kGetLanParameter{0x0c, 0x02, "Get LAN Configuration Parameters"};
inline constexpr IpmiCommand kGetLanStatistics{0x0c, 0x04, "Get IP/UDP/RMCP Statistics"};

}  // namespace nvx4::repository::ipmi_commands

#endif
