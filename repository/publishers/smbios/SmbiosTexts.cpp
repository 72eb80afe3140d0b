#include "SmbiosTexts.h"

namespace nvx4::repository::smbios {

std::optional<std::string> SmbiosTexts::lookup(const Names& names, std::uint64_t value,
                                               std::uint64_t first) {
    if (value < first || value - first >= names.size() || names[value - first] == nullptr)
        return std::nullopt;
    return std::string(names[value - first]);
}

std::string SmbiosTexts::bits(const Names& names, std::uint64_t value) {
    std::string list;
    for (std::size_t bit = 0; bit < names.size() && bit < 64; ++bit)
        if ((value >> bit & 1) != 0 && names[bit] != nullptr)
            list += (list.empty() ? "" : ", ") + std::string(names[bit]);
    return list.empty() ? "None" : list;
}

const SmbiosTexts::Names SmbiosTexts::kProcessorStatus = {
    "Unknown", "Enabled", "Disabled By User", "Disabled By BIOS", "Idle", nullptr,
    nullptr,   "Other"};

const SmbiosTexts::Names SmbiosTexts::kLogAccessMethod = {
    "Indexed I/O, one 8-bit index port, one 8-bit data port",
    "Indexed I/O, two 8-bit index ports, one 8-bit data port",
    "Indexed I/O, one 16-bit index port, one 8-bit data port",
    "Memory-mapped physical 32-bit address", "General-purpose non-volatile data functions"};

const SmbiosTexts::Names SmbiosTexts::kLogType = {"Single-bit ECC memory error",
                                                  "Multi-bit ECC memory error",
                                                  "Parity memory error",
                                                  "Bus timeout",
                                                  "I/O channel block",
                                                  "Software NMI",
                                                  "POST memory resize",
                                                  "POST error",
                                                  "PCI parity error",
                                                  "PCI system error",
                                                  "CPU failure",
                                                  "EISA failsafe timer timeout",
                                                  "Correctable memory log disabled",
                                                  "Logging disabled",
                                                  nullptr,
                                                  "System limit exceeded",
                                                  "Asynchronous hardware timer expired",
                                                  "System configuration information",
                                                  "Hard disk information",
                                                  "System reconfigured",
                                                  "Uncorrectable CPU-complex error",
                                                  "Log area reset/cleared",
                                                  "System boot"};

const SmbiosTexts::Names SmbiosTexts::kLogDataFormat = {"None",
                                                        "Handle",
                                                        "Multiple-event",
                                                        "Multiple-event handle",
                                                        "POST results bitmap",
                                                        "System management",
                                                        "Multiple-event system management"};

const SmbiosTexts::Names SmbiosTexts::kErrorCorrection = {
    "Other", "Unknown", "None", "Parity", "Single-bit ECC", "Multi-bit ECC", "CRC"};

const SmbiosTexts::Names SmbiosTexts::kCacheLocation = {"Internal", "External", nullptr, "Unknown"};

const SmbiosTexts::Names SmbiosTexts::kSlotCharacteristics = {"Unknown",
                                                              "5.0 V is provided",
                                                              "3.3 V is provided",
                                                              "Opening is shared",
                                                              "PC Card-16 is supported",
                                                              "Cardbus is supported",
                                                              "Zoom Video is supported",
                                                              "Modem ring resume is supported",
                                                              "PME signal is supported",
                                                              "Hot-plug devices are supported",
                                                              "SMBus signal is supported",
                                                              "PCIe slot bifurcation is supported",
                                                              "Async/surprise removal is supported",
                                                              "Flexbus slot, CXL 1.0 capable",
                                                              "Flexbus slot, CXL 2.0 capable"};

const SmbiosTexts::Names SmbiosTexts::kOnboardDeviceType = {"Other",
                                                            "Unknown",
                                                            "Video",
                                                            "SCSI Controller",
                                                            "Ethernet",
                                                            "Token Ring",
                                                            "Sound",
                                                            "PATA Controller",
                                                            "SATA Controller",
                                                            "SAS Controller",
                                                            "Wireless LAN",
                                                            "Bluetooth",
                                                            "WWAN",
                                                            "eMMC",
                                                            "NVMe Controller",
                                                            "UFS Controller"};

const SmbiosTexts::Names SmbiosTexts::kSecurityStatus = {"Disabled", "Enabled", "Not Implemented",
                                                         "Unknown"};

// The management service's status texts for the health the firmware reports.
const SmbiosTexts::Names SmbiosTexts::kDeviceStatus = {"Unknown",  "Unknown", "OK",
                                                       "Degraded", "Error",   "NonRecover"};

const SmbiosTexts::Names SmbiosTexts::kControllerSpeeds = {"Other", "Unknown", "70 ns", "60 ns",
                                                           "50 ns"};

const SmbiosTexts::Names SmbiosTexts::kModuleTypes = {"Other", "Unknown",   "Standard", "FPM",
                                                      "EDO",   "Parity",    "ECC",      "SIMM",
                                                      "DIMM",  "Burst EDO", "SDRAM"};

const SmbiosTexts::Names SmbiosTexts::kCorrectingCapability = {"Other",
                                                               "Unknown",
                                                               "None",
                                                               "Single-bit Error Correcting",
                                                               "Double-bit Error Correcting",
                                                               "Error Scrubbing"};

}  // namespace nvx4::repository::smbios
