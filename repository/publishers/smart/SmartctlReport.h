// Reads smartctl's JSON documents: the devices of `smartctl --scan-open --json` and the report of
// `smartctl --json -i -H -A -n standby` on one of them, as the properties of NVX4_OS_SMART:
//   DiskID                  the device name (with " [TYPE]" for devices addressed behind a
//                           controller, such as megaraid,0)
//   DiskType                3 solid state (NVMe, or rotation_rate 0), 4 rotating (rotation_rate
//                           above 0), 0 unknown
//   ModelName, SerialNumber model_name (scsi_model_name), serial_number
//   SMARTAttrRevision       ata_smart_attributes.revision (ATA only)
//   SMARTThresholdRevision  the same: smartctl reports the revision of the attribute data only
//   SMARTAlert              see alertOf
#ifndef NVX4_REPOSITORY_SMARTCTLREPORT_H
#define NVX4_REPOSITORY_SMARTCTLREPORT_H

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

struct SmartDevice {
    std::string name;  // /dev/sda
    std::string type;  // sat, nvme, megaraid,0, ...
    std::string diskId;
};

class SmartctlReport {
  public:
    enum class State { Read, Standby, Unsupported };

    static std::vector<SmartDevice> devicesOf(const nlohmann::json& scan);
    // Standby: smartctl left the sleeping disk alone (-n standby). Unsupported: no SMART data
    // (the device could not be opened, or has no SMART).
    static State stateOf(const nlohmann::json& report);
    static PropertyValues diskOf(const nlohmann::json& report, const SmartDevice& device,
                                 const std::string& systemName);
    // A sleeping disk not read before: its name, and the alert says why there is nothing else.
    static PropertyValues sleepingDisk(const SmartDevice& device, const std::string& systemName);
    // "No alert" when the health assessment passed; "Predicted failure" when it failed, followed
    // by ": " and the attributes failing now (ATA) or the critical warning bits (NVMe) when
    // known; "Unknown: no health assessment" without one (SMART disabled).
    static std::string alertOf(const nlohmann::json& report);
};

}  // namespace nvx4::repository

#endif
