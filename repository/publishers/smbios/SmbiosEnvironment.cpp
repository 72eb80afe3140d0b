// Cooling devices (type 27, split by device type into fans, heat pipes and refrigeration),
// temperature and voltage probes (types 28 and 26) and the system event log (type 15) with the
// records of its log area.
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

int fromBcd(std::uint8_t bcd) { return (bcd >> 4) * 10 + (bcd & 0x0F); }

bool isBcd(std::uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; }

// Six BCD bytes, year (80-99 the 1900s) to second, as a datetime; NULL when they are not BCD.
std::optional<std::string> recordTime(const std::uint8_t* t) {
    for (int i = 0; i < 6; ++i)
        if (!isBcd(t[i])) return std::nullopt;
    const int year = fromBcd(t[0]) + (fromBcd(t[0]) >= 80 ? 1900 : 2000);
    char text[80];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.000000+000", year, fromBcd(t[1]),
                  fromBcd(t[2]), fromBcd(t[3]), fromBcd(t[4]), fromBcd(t[5]));
    return text;
}

}  // namespace

Instances publishEventLogRecords(const SmbiosStructure& log, const Bytes& area) {
    constexpr std::size_t kRecordHeader = 8;  // type, length, six BCD time bytes
    constexpr std::uint8_t kEndOfLog = 0xFF;
    Instances instances;
    std::size_t at = log.word(0x08).value_or(0);
    while (at < area.size() && area.size() - at >= kRecordHeader && area[at] != kEndOfLog) {
        const std::uint8_t type = area[at];
        const std::size_t length = area[at + 1] & 0x7F;  // bit 7: the record has been read
        if (length < kRecordHeader || length > area.size() - at) break;
        const std::optional<std::string> eventType =
            type >= 0x80 ? std::optional<std::string>("OEM-specific")
                         : Texts::lookup(Texts::kLogType, type, 1);
        SmbiosInstance out;
        out.text(L"CreationClassName", std::string("NVX4_SMBIOS_SystemEventLogRecord"))
            .text(L"LogCreationClassName", std::string("NVX4_SMBIOS_SystemEventLog"))
            .text(L"LogName", deviceId(log.handle()))
            .integer(L"RecordID", static_cast<std::int64_t>(instances.size() + 1))
            .text(L"MessageTimestamp", recordTime(&area[at + 2]))
            .text(L"EventType", eventType)
            .text(L"Description",
                  eventType.value_or("Unknown") + ((area[at + 1] & 0x80) ? ", read" : ", not read"))
            .integer(L"RecordLength", static_cast<std::int64_t>(length));
        instances.push_back(std::move(out.values));
        at += length;
    }
    return instances;
}

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
