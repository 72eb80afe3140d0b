#include "DmidecodeView.h"

#include <cstdlib>
#include <map>
#include <stdexcept>

namespace nvx4::test {

namespace {

using Codes = std::map<std::string, int>;

std::optional<std::string> shown(const DmiRecord& r, const char* key) {
    std::optional<std::string> value = r.field(key);
    if (value == "Not Specified" || value == "<BAD INDEX>") return std::nullopt;
    return value;
}

Value textOrNull(const std::optional<std::string>& value) {
    return value ? Value::text(std::string_view(*value)) : Value();
}

Expect text(const char* key) {
    return [key](const DmiRecord& r, const Records&) { return textOrNull(shown(r, key)); };
}

// Key properties always have a value: the empty text stands for none.
Expect keyText(const char* key) {
    return [key](const DmiRecord& r, const Records&) {
        return Value::text(std::string_view(shown(r, key).value_or("")));
    };
}

std::optional<long long> leadingNumber(const std::optional<std::string>& text, int base = 10) {
    if (!text || text->empty()) return std::nullopt;
    char* end = nullptr;
    const long long n = std::strtoll(text->c_str(), &end, base);
    if (end == text->c_str()) return std::nullopt;
    return n;
}

// A number at the start of the field, as an integer or as text; `base` 16 for handles ("0x0004").
Expect number(const char* key, int base = 10, bool asText = false) {
    return [key, base, asText](const DmiRecord& r, const Records&) {
        const std::optional<long long> n = leadingNumber(r.field(key), base);
        if (!n) return Value();
        return asText ? Value::text(std::to_string(*n)) : Value::integer(*n);
    };
}
Expect numberText(const char* key) { return number(key, 10, true); }

// The code of a text; a text the test does not know is not compared.
std::optional<Value> codeOf(const std::optional<std::string>& text, const Codes& codes) {
    if (!text) return Value();
    auto found = codes.find(*text);
    if (found == codes.end()) return std::nullopt;
    return Value::integer(found->second);
}

Expect code(const char* key, Codes codes) {
    return [key, codes](const DmiRecord& r, const Records&) { return codeOf(r.field(key), codes); };
}

// "12.600 V", "5.0 mV", "-5.0 deg C", "1.50%"; "Unknown" has no value.
Expect real(const char* key) {
    return [key](const DmiRecord& r, const Records&) {
        const std::optional<std::string> text = r.field(key);
        if (!text || *text == "Unknown") return Value();
        char* end = nullptr;
        const double v = std::strtod(text->c_str(), &end);
        return Value::real(std::string(end) == " mV" ? v / 1000 : v);
    };
}

std::string joined(const std::vector<std::string>& items, const char* separator = ", ") {
    std::string all;
    for (const std::string& item : items) all += (all.empty() ? "" : separator) + item;
    return all;
}

// A list under its key, or the one value on the key's line ("None").
Expect list(const char* key) {
    return [key](const DmiRecord& r, const Records&) {
        auto items = r.lists.find(key);
        if (items != r.lists.end()) return Value::text(joined(items->second));
        return textOrNull(r.field(key));
    };
}

// Sizes as dmidecode prints them ("48 kB", "16 GB (Single-bank Connection)"), in bytes.
std::optional<unsigned long long> bytes(const std::optional<std::string>& text) {
    const std::optional<long long> n = leadingNumber(text);
    if (!n) return std::nullopt;
    const std::string unit = text->substr(text->find(' ') + 1, 2);
    const std::map<std::string, int> shifts = {{"by", 0},  {"kB", 10}, {"MB", 20},
                                               {"GB", 30}, {"TB", 40}, {"PB", 50}};
    return static_cast<unsigned long long>(*n) << shifts.at(unit);
}

Expect kilobytes(const char* key) {
    return [key](const DmiRecord& r, const Records&) {
        const std::optional<unsigned long long> b = bytes(r.field(key));
        return b && *b / 1024 <= 0x7FFFFFFF ? Value::integer(static_cast<long long>(*b / 1024))
                                            : Value();
    };
}

Expect bytesText(const char* key) {
    return [key](const DmiRecord& r, const Records&) {
        const std::optional<std::string> text = r.field(key);
        if (text == "No Module Installed" || text == "Not Installed" || text == "Not Enabled")
            return Value::text("0");
        const std::optional<unsigned long long> b = bytes(text);
        return b ? Value::text(std::to_string(*b)) : Value();
    };
}

// The management service's health texts for the firmware's status names.
const Codes kHealthRank = {{"Other", 0},        {"Unknown", 0},  {"OK", 1},
                           {"Non-critical", 2}, {"Critical", 3}, {"Non-recoverable", 4}};

Expect health() {
    return [](const DmiRecord& r, const Records&) {
        const std::optional<std::string> status = r.field("Status");
        if (!status) return Value();
        static const char* const texts[] = {"Unknown", "OK", "Degraded", "Error", "NonRecover"};
        return Value::text(texts[kHealthRank.at(*status)]);
    };
}

std::string coolingType(const DmiRecord& r) { return r.field("Type").value_or("Fan"); }

bool isHeatPipe(const DmiRecord& r) {
    return coolingType(r) == "Heat Pipe" || coolingType(r) == "Passive Cooling";
}
bool isRefrigeration(const DmiRecord& r) { return coolingType(r) == "Integrated Refrigeration"; }

std::function<bool(const DmiRecord&)> ofType(int type) {
    return [type](const DmiRecord& r) { return r.type == type; };
}

std::vector<PropertyView> probeProperties() {
    return {{L"Description", text("Description")},   {L"Status", health()},
            {L"MaxReadable", real("Maximum Value")}, {L"MinReadable", real("Minimum Value")},
            {L"Resolution", real("Resolution")},     {L"Tolerance", real("Tolerance")},
            {L"Accuracy", real("Accuracy")},         {L"NominalReading", real("Nominal Value")}};
}

// "Enabled, Not Socketed, Level 2" -> "Level 2".
std::optional<Value> cacheLevel(const DmiRecord& r, const Records&) {
    const std::optional<std::string> config = r.field("Configuration");
    if (!config) return Value();
    return Value::text(config->substr(config->rfind(", ") + 2));
}

// A handle as dmidecode shows it in the fields that refer to a structure.
std::string handleText(std::uint16_t handle) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", handle);
    return text;
}

std::optional<Value> cacheOwners(const DmiRecord& r, const Records& all) {
    std::vector<std::string> owners;
    const std::string handle = handleText(r.handle);
    for (const DmiRecord& cpu : all)
        for (const char* key : {"L1 Cache Handle", "L2 Cache Handle", "L3 Cache Handle"})
            if (cpu.type == 4 && cpu.field(key) == handle) {
                owners.push_back(cpu.field("Socket Designation").value_or(""));
                break;
            }
    return owners.empty() ? Value() : Value::text(joined(owners));
}

std::optional<Value> installedMemory(const DmiRecord& r, const Records& all) {
    const std::string handle = handleText(r.handle);
    unsigned long long total = 0;
    for (const DmiRecord& device : all)
        if (device.type == 17 && device.field("Array Handle") == handle)
            total += bytes(device.field("Size")).value_or(0) / 1024;
    return Value::integer(static_cast<long long>(total));
}

std::optional<Value> logDescriptors(const DmiRecord& r, const Records&) {
    std::vector<std::string> items;
    for (int i = 1; r.field("Descriptor " + std::to_string(i)); ++i)
        items.push_back(*r.field("Descriptor " + std::to_string(i)) + " (" +
                        r.field("Data Format " + std::to_string(i)).value_or("") + ")");
    if (!r.field("Supported Log Type Descriptors")) return Value();
    return Value::text(joined(items));
}

std::optional<Value> socketStatus(const DmiRecord& r, const Records&) {
    const std::optional<std::string> status = r.field("Status");
    if (!status) return Value();
    return Value::text(status->substr(0, status->find(',')));
}

// Shown only for a populated socket: "Populated, Enabled".
std::optional<Value> processorStatus(const DmiRecord& r, const Records&) {
    const std::optional<std::string> status = r.field("Status");
    if (!status) return Value();
    if (status->find(", ") == std::string::npos) return std::nullopt;
    return Value::text(status->substr(status->find(", ") + 2));
}

// Port: the external designator where there is one, else the internal one; the same for types.
std::optional<Value> port(const DmiRecord& r, const Records&) {
    std::optional<std::string> external = shown(r, "External Reference Designator");
    return textOrNull(external ? external : shown(r, "Internal Reference Designator"));
}

const Codes kConnectorTypes = {
    {"None", 0}, {"Access Bus (USB)", 0x12}, {"SAS/SATA Plug Receptacle", 0x22}};

std::optional<Value> connectorType(const DmiRecord& r, const Records&) {
    const std::optional<std::string> external = r.field("External Connector Type");
    return codeOf(external && *external != "None" ? external : r.field("Internal Connector Type"),
                  kConnectorTypes);
}

// "x16 PCI Express x1": the bus width, then the slot type.
std::optional<Value> slotPart(const DmiRecord& r, bool width) {
    const std::optional<std::string> type = r.field("Type");
    if (!type) return Value();
    const std::size_t space = type->find(' ');
    if (width) return codeOf(type->substr(0, space), {{"x16", 0x0D}});
    return codeOf(type->substr(space + 1), {{"PCI Express x1", 0xA6}});
}

}  // namespace

std::string dotted(const std::string& utf8) {
    std::string out = utf8;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) >= 127) c = '.';
    return out;
}

const std::vector<ClassView>& dmidecodeViews() {
    static const std::vector<ClassView> views = {
        {L"NVX4_SMBIOS_BIOS",
         ofType(0),
         {{L"Version", text("Version")},
          {L"ReleaseDate",
           [](const DmiRecord& r, const Records&) -> std::optional<Value> {
               const std::optional<std::string> d = shown(r, "Release Date");
               if (!d) return Value();
               // mm/dd/yyyy as a datetime.
               return Value::text(d->substr(6, 4) + d->substr(0, 2) + d->substr(3, 2) +
                                  "000000.000000+000");
           }},
          {L"Manufacturer", text("Vendor")}}},
        {L"NVX4_SMBIOS_Fan",
         [](const DmiRecord& r) { return r.type == 27 && !isHeatPipe(r) && !isRefrigeration(r); },
         {{L"Status",
           [](const DmiRecord& r, const Records&) -> std::optional<Value> {
               const std::optional<std::string> s = r.field("Status");
               if (!s || kHealthRank.at(*s) == 0) return Value();
               return Value::boolean(*s == "OK");
           }},
          {L"CoolingUnitGroup", number("Cooling Unit Group")},
          {L"NominalSpeed", number("Nominal Speed")}}},
        {L"NVX4_SMBIOS_HeatPipe",
         [](const DmiRecord& r) { return r.type == 27 && isHeatPipe(r); },
         {{L"Status", health()}, {L"CoolingUnitGroup", number("Cooling Unit Group")}}},
        {L"NVX4_SMBIOS_Refrigeration",
         [](const DmiRecord& r) { return r.type == 27 && isRefrigeration(r); },
         {{L"Status", health()}, {L"CoolingUnitGroup", number("Cooling Unit Group")}}},
        {L"NVX4_SMBIOS_TemperatureProbe", ofType(28), probeProperties()},
        {L"NVX4_SMBIOS_VoltageProbe", ofType(26), probeProperties()},
        {L"NVX4_SMBIOS_ComputerSystemProduct",
         ofType(1),
         {{L"IdentifyingNumber", keyText("Serial Number")},
          {L"Name", keyText("Product Name")},
          {L"Vendor", keyText("Manufacturer")},
          {L"Version", keyText("Version")}}},
        {L"NVX4_SMBIOS_Processor",
         ofType(4),
         {{L"ProcessorManufacturer", text("Manufacturer")},
          {L"SocketDesignation", text("Socket Designation")},
          {L"SocketStatus", socketStatus},
          {L"ProcessorStatus", processorStatus},
          {L"ProcessorVersion", text("Version")},
          {L"SerialNumber", text("Serial Number")},
          {L"PartNumber", text("Part Number")},
          {L"ProcessorFamily", code("Family", {{"Core i7", 0xC6}, {"Xeon", 0xB3}, {"Other", 1}})},
          {L"MaxSpeed", number("Max Speed")},
          {L"ExtClock", number("External Clock")},
          {L"CurrentClockSpeed", number("Current Speed")}}},
        {L"NVX4_SMBIOS_SystemEventLog",
         ofType(15),
         {{L"LogAreaLength", number("Area Length")},
          {L"AccessMethod", text("Access Method")},
          {L"NumberOfSupportedLogTypeDescriptors", number("Supported Log Type Descriptors")},
          {L"ListOfSupportedEventLogDescriptors", logDescriptors},
          {L"Status", text("Status")}}},
        {L"NVX4_SMBIOS_PhysicalMemoryArray",
         ofType(16),
         {{L"MemoryErrorCorrection", text("Error Correction Type")},
          {L"TotalInstalledMemory", installedMemory},
          {L"NumberOfMemoryDevice", number("Number Of Devices")},
          {L"MemoryArrayUse", code("Use", {{"System Memory", 3}})},
          {L"Location", code("Location", {{"System Board Or Motherboard", 3}})},
          {L"MaximumCapacity", kilobytes("Maximum Capacity")}}},
        {L"NVX4_SMBIOS_PhysicalMemory",
         ofType(17),
         {{L"Size", bytesText("Size")},
          {L"MemoryType", code("Type", {{"DDR4", 0x1A}})},
          {L"BusSpeed", numberText("Speed")},
          {L"MemoryArrayHandle", number("Array Handle", 16)},
          {L"Description", text("Locator")},
          {L"InstalledSize", bytesText("Size")},
          {L"EnabledSize", bytesText("Size")}}},
        {L"NVX4_SMBIOS_Baseboard",
         ofType(2),
         {{L"BoardType", code("Type", {{"Motherboard", 10}})},
          {L"BaseboardID", text("Product Name")},
          {L"SerialNumber", text("Serial Number")},
          {L"Version", text("Version")}}},
        {L"NVX4_SMBIOS_Cache",
         ofType(7),
         {{L"CacheLevel", cacheLevel},
          {L"Location", text("Location")},
          {L"ProcessorNumber", cacheOwners},
          {L"CacheSize", kilobytes("Installed Size")}}},
        {L"NVX4_SMBIOS_PortConnector",
         ofType(8),
         {{L"Port", port},
          {L"ConnectorType", connectorType},
          {L"PortType", code("Port Type", {{"USB", 0x10}, {"SATA", 0x20}})}}},
        {L"NVX4_SMBIOS_MemoryController",
         ofType(5),
         {{L"MaxMemModuleSize", number("Maximum Memory Module Size")},
          {L"SupportedSpeed", list("Supported Speeds")},
          {L"SupportedMemType", list("Supported Memory Types")},
          {L"NumOfAssociateMemSlot", number("Associated Memory Slots")},
          {L"ErrorDetectingMethod", code("Error Detecting Method", {{"None", 3}})},
          {L"ErrorCorrectingCapability", list("Error Correcting Capabilities")},
          {L"CurrentInterleave", code("Current Interleave", {{"Two-way Interleave", 4}})}}},
        {L"NVX4_SMBIOS_MemoryModule",
         ofType(6),
         {{L"MemoryType", text("Type")},
          {L"MemorySpeed", numberText("Current Speed")},
          {L"InstalledSize", bytesText("Installed Size")},
          {L"EnabledSize", bytesText("Enabled Size")},
          {L"SlotNumber", text("Socket Designation")}}},
        {L"NVX4_SMBIOS_Slot",
         ofType(9),
         {{L"SlotType", [](const DmiRecord& r, const Records&) { return slotPart(r, false); }},
          {L"SlotDataBusWidth",
           [](const DmiRecord& r, const Records&) { return slotPart(r, true); }},
          {L"CurrentUsage", code("Current Usage", {{"In Use", 4}})},
          {L"SlotLength", code("Length", {{"Long", 4}})},
          {L"SlotNumber", text("Designation")},
          {L"PCISlotCharacter", list("Characteristics")}}},
        {L"NVX4_SMBIOS_OnboardDevice",
         [](const DmiRecord& r) { return r.type == 10 || r.type == 41; },
         {{L"DeviceType", text("Type")},
          {L"Description",
           [](const DmiRecord& r, const Records&) {
               return std::optional<Value>(
                   textOrNull(shown(r, r.type == 10 ? "Description" : "Reference Designation")));
           }}}},
        {L"NVX4_SMBIOS_HWSecurity",
         ofType(24),
         {{L"PowerOnPasswdStatus", text("Power-On Password Status")},
          {L"KeyboardPasswdStatus", text("Keyboard Password Status")}}},
    };
    return views;
}

const ClassView& viewOf(const std::wstring& className) {
    for (const ClassView& view : dmidecodeViews())
        if (className == view.className) return view;
    throw std::invalid_argument("no view of the class");
}

}  // namespace nvx4::test
