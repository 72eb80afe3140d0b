// Cooling devices (type 27, split by device type into fans, heat pipes and refrigeration),
// temperature and voltage probes (types 28 and 26) and the system event log (type 15).
#include <cstdio>
#include <cwchar>

#include "SmbiosClasses.h"
#include "SmbiosTexts.h"

namespace nvx4::repository::smbios {

namespace {

using Texts = SmbiosTexts;

constexpr std::uint16_t kUnknownReading = 0x8000;
constexpr std::uint8_t kHeatPipe = 0x08;
constexpr std::uint8_t kIntegratedRefrigeration = 0x09;
constexpr std::uint8_t kPassiveCooling = 0x11;

// Units of the sensor classes' BaseUnits.
constexpr std::int64_t kDegreesCelsius = 2;
constexpr std::int64_t kVolts = 5;
constexpr std::int64_t kRevolutionsPerMinute = 19;

enum class Cooling { Fan, HeatPipe, Refrigeration };

Cooling coolingKind(std::uint8_t typeAndStatus) {
    switch (typeAndStatus & 0x1F) {
        case kHeatPipe:
        case kPassiveCooling:
            return Cooling::HeatPipe;
        case kIntegratedRefrigeration:
            return Cooling::Refrigeration;
        default:
            return Cooling::Fan;
    }
}

std::optional<std::uint8_t> deviceStatus(std::optional<std::uint8_t> typeAndStatus) {
    if (!typeAndStatus) return std::nullopt;
    return *typeAndStatus >> 5;
}

std::string deviceId(std::uint16_t handle) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", handle);
    return text;
}

// The keys every cooling device and probe has.
SmbiosInstance device(const SmbiosStructure& s, const wchar_t* className) {
    SmbiosInstance out = withHandle(s);
    out.text(L"CreationClassName",
             std::optional<std::string>(std::string(className, className + std::wcslen(className))))
        .text(L"DeviceID", deviceId(s.handle()))
        .text(L"SystemCreationClassName", std::string("CIM_ComputerSystem"));
    return out;
}

Instances cooling(const SmbiosTable& table, Cooling kind, const wchar_t* className) {
    Instances instances;
    for (const SmbiosStructure* s : table.ofType(27)) {
        const std::optional<std::uint8_t> typeAndStatus = s->byte(0x06);
        if (coolingKind(typeAndStatus.value_or(0)) != kind) continue;
        SmbiosInstance out = device(*s, className);
        out.integer(L"CoolingUnitGroup", widen(s->byte(0x07)));
        const std::optional<std::uint8_t> status = deviceStatus(typeAndStatus);
        if (kind == Cooling::Fan) {
            // OK is good health; non-critical, critical and non-recoverable are not; other and
            // unknown say nothing.
            const std::optional<std::uint16_t> rpm = s->word(0x0C);
            out.boolean(L"Status", status && *status >= 3 && *status <= 6
                                       ? std::optional<bool>(*status == 3)
                                       : std::nullopt)
                .integer(L"NominalSpeed",
                         rpm && *rpm != kUnknownReading ? widen(rpm) : std::nullopt)
                .integer(L"BaseUnits", kRevolutionsPerMinute);
        } else {
            out.text(L"Status",
                     status ? Texts::lookup(Texts::kDeviceStatus, *status, 1) : std::nullopt);
        }
        instances.push_back(std::move(out.values));
    }
    return instances;
}

// A reading in units of `scale` of the base unit; 0x8000 is unknown.
std::optional<double> reading(std::optional<std::uint16_t> raw, double scale, bool isSigned) {
    if (!raw || *raw == kUnknownReading) return std::nullopt;
    const double value = isSigned ? static_cast<std::int16_t>(*raw) : *raw;
    return value * scale;
}

struct ProbeUnits {
    double value;  // maximum, minimum and nominal readings
    double resolution;
    double tolerance;
    std::int64_t baseUnits;
};

Instances probes(const SmbiosTable& table, std::uint8_t type, const wchar_t* className,
                 const ProbeUnits& units) {
    Instances instances;
    for (const SmbiosStructure* s : table.ofType(type)) {
        SmbiosInstance out = device(*s, className);
        const std::optional<std::uint8_t> status = deviceStatus(s->byte(0x05));
        out.text(L"Description", s->string(0x04))
            .text(L"Status",
                  status ? Texts::lookup(Texts::kDeviceStatus, *status, 1) : std::nullopt)
            .real(L"MaxReadable", reading(s->word(0x06), units.value, true))
            .real(L"MinReadable", reading(s->word(0x08), units.value, true))
            .real(L"Resolution", reading(s->word(0x0A), units.resolution, false))
            .real(L"Tolerance", reading(s->word(0x0C), units.tolerance, false))
            .real(L"Accuracy", reading(s->word(0x0E), 0.01, false))
            .real(L"NominalReading", reading(s->word(0x14), units.value, true))
            .integer(L"BaseUnits", units.baseUnits);
        instances.push_back(std::move(out.values));
    }
    return instances;
}

std::optional<std::string> logStatus(std::optional<std::uint8_t> status) {
    if (!status) return std::nullopt;
    return std::string(*status & 1 ? "Valid" : "Invalid") + ", " +
           (*status & 2 ? "Full" : "Not Full");
}

std::optional<std::string> logAccessMethod(std::optional<std::uint8_t> method) {
    if (method && *method >= 0x80) return std::string("OEM-specific");
    return method ? Texts::lookup(Texts::kLogAccessMethod, *method) : std::nullopt;
}

// "type (data format)" for each descriptor that is whole, joined by ", ".
std::optional<std::string> logDescriptors(const SmbiosStructure& s) {
    const std::optional<std::uint8_t> count = s.byte(0x15);
    const std::optional<std::uint8_t> size = s.byte(0x16);
    if (!count || !size || *size < 2) return std::nullopt;
    std::string list;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t at = 0x17 + i * *size;
        const std::optional<std::uint8_t> type = s.byte(at);
        const std::optional<std::uint8_t> format = s.byte(at + 1);
        if (!type || !format) break;
        const std::string typeText =
            *type >= 0x80 ? "OEM-specific" : Texts::lookup(Texts::kLogType, *type, 1).value_or("");
        const std::string formatText =
            *format >= 0x80 ? "OEM-specific"
                            : Texts::lookup(Texts::kLogDataFormat, *format).value_or("");
        list += (list.empty() ? "" : ", ") + typeText + " (" + formatText + ")";
    }
    return list;
}

}  // namespace

Instances publishFans(const SmbiosTable& table) {
    return cooling(table, Cooling::Fan, L"NVX4_SMBIOS_Fan");
}

Instances publishHeatPipes(const SmbiosTable& table) {
    return cooling(table, Cooling::HeatPipe, L"NVX4_SMBIOS_HeatPipe");
}

Instances publishRefrigeration(const SmbiosTable& table) {
    return cooling(table, Cooling::Refrigeration, L"NVX4_SMBIOS_Refrigeration");
}

// Readings in tenths of a degree, resolution in thousandths, tolerance in tenths.
Instances publishTemperatureProbes(const SmbiosTable& table) {
    return probes(table, 28, L"NVX4_SMBIOS_TemperatureProbe", {0.1, 0.001, 0.1, kDegreesCelsius});
}

// Readings in millivolts, resolution in tenths of a millivolt, tolerance in millivolts.
Instances publishVoltageProbes(const SmbiosTable& table) {
    return probes(table, 26, L"NVX4_SMBIOS_VoltageProbe", {0.001, 0.0001, 0.001, kVolts});
}

Instances publishEventLogs(const SmbiosTable& table) {
    return eachOfType(table, 15, [](const SmbiosStructure& s, SmbiosInstance& out) {
        out.integer(L"LogAreaLength", widen(s.word(0x04)))
            .text(L"AccessMethod", logAccessMethod(s.byte(0x0A)))
            .integer(L"NumberOfSupportedLogTypeDescriptors", widen(s.byte(0x15)))
            .integer(L"LengthOfeachLogTypeDescriptor", widen(s.byte(0x16)))
            .text(L"ListOfSupportedEventLogDescriptors", logDescriptors(s))
            .text(L"Status", logStatus(s.byte(0x0B)));
    });
}

}  // namespace nvx4::repository::smbios
