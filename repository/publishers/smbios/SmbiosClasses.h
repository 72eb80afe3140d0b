// The classes the SMBIOS publisher fills, each with the function that turns a table into the
// class's instances (README.md in this folder maps every property to its structure and field).
#ifndef NVX4_SMBIOS_CLASSES_H
#define NVX4_SMBIOS_CLASSES_H

#include <cstdint>
#include <string>
#include <vector>

#include "SmbiosInstance.h"
#include "SmbiosTable.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository::smbios {

using Instances = std::vector<PropertyValues>;

struct SmbiosClass {
    const wchar_t* name;
    Instances (*publish)(const SmbiosTable& table);
};

// Helpers of the publishing functions.
inline std::optional<std::int64_t> widen(std::optional<std::uint64_t> value) {
    if (!value) return std::nullopt;
    return static_cast<std::int64_t>(*value);
}

// A speed in MHz or MT/s; 0 means unknown.
inline std::optional<std::int64_t> speed(std::optional<std::uint16_t> mhz) {
    if (!mhz || *mhz == 0) return std::nullopt;
    return *mhz;
}

inline SmbiosInstance withHandle(const SmbiosStructure& s) {
    SmbiosInstance instance;
    instance.integer(L"Handle", s.handle());
    return instance;
}

template <typename Fill>
Instances eachOfType(const SmbiosTable& table, std::uint8_t type, Fill fill) {
    Instances instances;
    for (const SmbiosStructure* s : table.ofType(type)) {
        SmbiosInstance instance = withHandle(*s);
        fill(*s, instance);
        instances.push_back(std::move(instance.values));
    }
    return instances;
}

// Every class, in class-id order (1001 to 1020).
const std::vector<SmbiosClass>& smbiosClasses();

// The groups of classes, one file each.
Instances publishBios(const SmbiosTable& table);
Instances publishSystemProduct(const SmbiosTable& table);
Instances publishBaseboards(const SmbiosTable& table);
Instances publishProcessors(const SmbiosTable& table);
Instances publishCaches(const SmbiosTable& table);
Instances publishPortConnectors(const SmbiosTable& table);
Instances publishSlots(const SmbiosTable& table);
Instances publishOnboardDevices(const SmbiosTable& table);
Instances publishHardwareSecurity(const SmbiosTable& table);

Instances publishMemoryControllers(const SmbiosTable& table);
Instances publishMemoryModules(const SmbiosTable& table);
Instances publishMemoryArrays(const SmbiosTable& table);
Instances publishMemoryDevices(const SmbiosTable& table);

Instances publishFans(const SmbiosTable& table);
Instances publishHeatPipes(const SmbiosTable& table);
Instances publishRefrigeration(const SmbiosTable& table);
Instances publishTemperatureProbes(const SmbiosTable& table);
Instances publishVoltageProbes(const SmbiosTable& table);
Instances publishEventLogs(const SmbiosTable& table);
// The records of the log area a type-15 structure describes.
Instances publishEventLogRecords(const SmbiosStructure& log, const Bytes& area);

// Text of a BIOS release date (mm/dd/yyyy, or mm/dd/yy of the 1900s) as a datetime
// (yyyymmdd000000.000000+000); any other text as it is.
std::string releaseDate(const std::string& text);

}  // namespace nvx4::repository::smbios

#endif
