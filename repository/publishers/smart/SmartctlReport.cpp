#include "SmartctlReport.h"

#include <cstdio>

namespace nvx4::repository {

namespace {

using Json = nlohmann::json;

constexpr int kUnknown = 0, kSolidState = 3, kRotating = 4;

const Json& member(const Json& object, const char* name) {
    static const Json none;
    return object.is_object() && object.contains(name) ? object[name] : none;
}

std::string textOf(const Json& value) { return value.is_string() ? value.get<std::string>() : ""; }

void setText(PropertyValues& values, const wchar_t* name, const Json& value) {
    if (value.is_string()) values.emplace_back(name, Value::text(value.get<std::string>()));
}

int diskTypeOf(const Json& report) {
    if (textOf(member(member(report, "device"), "protocol")) == "NVMe") return kSolidState;
    const Json& rotation = member(report, "rotation_rate");
    if (!rotation.is_number_integer()) return kUnknown;
    return rotation.get<long long>() == 0 ? kSolidState : kRotating;
}

std::string failingNow(const Json& report) {
    std::string names;
    for (const Json& attribute : member(member(report, "ata_smart_attributes"), "table"))
        if (textOf(member(attribute, "when_failed")) == "now")
            names += (names.empty() ? "" : ", ") + textOf(member(attribute, "name"));
    const Json& warning = member(member(member(report, "smart_status"), "nvme"), "value");
    if (names.empty() && warning.is_number_integer() && warning.get<long long>() != 0) {
        char text[40];
        std::snprintf(text, sizeof text, "critical warning 0x%02llx", warning.get<long long>());
        names = text;
    }
    return names;
}

PropertyValues base(const SmartDevice& device, const std::string& systemName) {
    return {{L"SystemName", Value::text(systemName)}, {L"DiskID", Value::text(device.diskId)}};
}

}  // namespace

std::vector<SmartDevice> SmartctlReport::devicesOf(const Json& scan) {
    std::vector<SmartDevice> devices;
    for (const Json& device : member(scan, "devices")) {
        SmartDevice found{textOf(member(device, "name")), textOf(member(device, "type")), {}};
        if (found.name.empty() || device.contains("open_error")) continue;
        found.diskId = found.name;
        if (found.type.find(',') != std::string::npos) found.diskId += " [" + found.type + "]";
        devices.push_back(found);
    }
    return devices;
}

SmartctlReport::State SmartctlReport::stateOf(const Json& report) {
    for (const Json& message : member(member(report, "smartctl"), "messages")) {
        const std::string text = textOf(member(message, "string"));
        if (text.rfind("Device is in ", 0) == 0 && text.find(" mode") != std::string::npos)
            return State::Standby;
    }
    if (report.contains("smart_status") ||
        member(member(report, "smart_support"), "available") == true)
        return State::Read;
    return State::Unsupported;
}

std::string SmartctlReport::alertOf(const Json& report) {
    const Json& passed = member(member(report, "smart_status"), "passed");
    if (!passed.is_boolean()) return "Unknown: no health assessment";
    if (passed.get<bool>()) return "No alert";
    const std::string why = failingNow(report);
    return why.empty() ? "Predicted failure" : "Predicted failure: " + why;
}

PropertyValues SmartctlReport::diskOf(const Json& report, const SmartDevice& device,
                                      const std::string& systemName) {
    PropertyValues values = base(device, systemName);
    values.emplace_back(L"DiskType", Value::integer(diskTypeOf(report)));
    const Json& model = member(report, "model_name");
    setText(values, L"ModelName", model.is_string() ? model : member(report, "scsi_model_name"));
    setText(values, L"SerialNumber", member(report, "serial_number"));
    const Json& revision = member(member(report, "ata_smart_attributes"), "revision");
    if (revision.is_number_integer()) {
        values.emplace_back(L"SMARTAttrRevision", Value::integer(revision.get<long long>()));
        values.emplace_back(L"SMARTThresholdRevision", Value::integer(revision.get<long long>()));
    }
    values.emplace_back(L"SMARTAlert", Value::text(alertOf(report)));
    return values;
}

PropertyValues SmartctlReport::sleepingDisk(const SmartDevice& device,
                                            const std::string& systemName) {
    PropertyValues values = base(device, systemName);
    values.emplace_back(L"DiskType",
                        Value::integer(device.type == "nvme" ? kSolidState : kUnknown));
    values.emplace_back(L"SMARTAlert", Value::text("Unknown: disk in standby"));
    return values;
}

}  // namespace nvx4::repository
