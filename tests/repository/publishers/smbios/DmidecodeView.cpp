#include "DmidecodeView.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "CommandOutput.h"

namespace nvx4::test {

namespace {

Records parse(const std::string& output) {
    Records records;
    std::istringstream lines(output);
    std::string line;
    std::string lastKey;
    bool inStructure = false;
    while (std::getline(lines, line)) {
        unsigned handle = 0;
        int type = 0;
        if (std::sscanf(line.c_str(), "Handle 0x%x, DMI type %d,", &handle, &type) == 2) {
            records.push_back({static_cast<std::uint16_t>(handle), type, "", {}, {}});
            inStructure = true;
        } else if (line.empty()) {
            inStructure = false;
        } else if (!inStructure) {
            continue;
        } else if (line == "\t<TRUNCATED>") {
            // dmidecode's mark of a structure that is not whole: none.
            records.pop_back();
            inStructure = false;
        } else if (line.rfind("\t\t", 0) == 0) {
            records.back().lists[lastKey].push_back(line.substr(2));
        } else if (line[0] == '\t') {
            const std::size_t colon = line.find(':');
            lastKey = line.substr(1, colon - 1);
            if (colon != std::string::npos && colon + 2 <= line.size())
                records.back().fields[lastKey] = line.substr(colon + 2);
        } else if (records.back().title.empty()) {
            records.back().title = line;
        } else {
            // A further block of the same structure.
            records.push_back({records.back().handle, records.back().type, line, {}, {}});
        }
    }
    return records;
}

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

std::optional<long long> leadingNumber(const std::optional<std::string>& text) {
    if (!text || text->empty()) return std::nullopt;
    char* end = nullptr;
    const long long n = std::strtoll(text->c_str(), &end, 10);
    if (end == text->c_str()) return std::nullopt;
    return n;
}

// A number at the start of the field, as an integer or as text.
Expect number(const char* key, bool asText = false) {
    return [key, asText](const DmiRecord& r, const Records&) {
        const std::optional<long long> n = leadingNumber(r.field(key));
        if (!n) return Value();
        return asText ? Value::text(std::to_string(*n)) : Value::integer(*n);
    };
}

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
            {L"MaxReadable", real("Maximum Value")}, {L"Resolution", real("Resolution")},
            {L"Tolerance", real("Tolerance")},       {L"Accuracy", real("Accuracy")}};
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

// Port: the external designator where there is one, else the internal one.
std::optional<Value> port(const DmiRecord& r, const Records&) {
    std::optional<std::string> external = shown(r, "External Reference Designator");
    return textOrNull(external ? external : shown(r, "Internal Reference Designator"));
}

std::optional<Value> connectorType(const DmiRecord& r, const Records&) {
    const std::optional<std::string> external = r.field("External Connector Type");
    return codeOf(external && *external != "None" ? external : r.field("Internal Connector Type"),
                  {{"None", 0}, {"Access Bus (USB)", 0x12}, {"SAS/SATA Plug Receptacle", 0x22}});
}

}  // namespace

Records dmidecode(const std::string& arguments) {
    return parse(commandOutput("dmidecode " + arguments + " 2>/dev/null"));
}

bool dmidecodeAvailable() { return std::system("dmidecode --version >/dev/null 2>&1") == 0; }

std::string dotted(const std::string& utf8) {
    std::string out = utf8;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) >= 127) c = '.';
    return out;
}

// One property for each way the publisher turns bytes into a value, per class.
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
           }}}},
        {L"NVX4_SMBIOS_Fan",
         [](const DmiRecord& r) { return r.type == 27 && !isHeatPipe(r) && !isRefrigeration(r); },
         {{L"Status",
           [](const DmiRecord& r, const Records&) -> std::optional<Value> {
               const std::optional<std::string> s = r.field("Status");
               if (!s || kHealthRank.at(*s) == 0) return Value();
               return Value::boolean(*s == "OK");
           }},
          {L"NominalSpeed", number("Nominal Speed")}}},
        {L"NVX4_SMBIOS_HeatPipe",
         [](const DmiRecord& r) { return r.type == 27 && isHeatPipe(r); },
         {{L"Status", health()}, {L"CoolingUnitGroup", number("Cooling Unit Group")}}},
        {L"NVX4_SMBIOS_Refrigeration",
         [](const DmiRecord& r) { return r.type == 27 && isRefrigeration(r); },
         {{L"Status", health()}}},
        {L"NVX4_SMBIOS_TemperatureProbe", ofType(28), probeProperties()},
        {L"NVX4_SMBIOS_VoltageProbe", ofType(26), probeProperties()},
        {L"NVX4_SMBIOS_ComputerSystemProduct",
         ofType(1),
         {{L"IdentifyingNumber", keyText("Serial Number")}, {L"Name", keyText("Product Name")}}},
        {L"NVX4_SMBIOS_Processor",
         ofType(4),
         {{L"SocketDesignation", text("Socket Designation")},
          {L"SocketStatus", socketStatus},
          {L"ProcessorStatus", processorStatus},
          {L"ProcessorFamily", code("Family", {{"Core i7", 0xC6}, {"Xeon", 0xB3}, {"Other", 1}})},
          {L"MaxSpeed", number("Max Speed")}}},
        {L"NVX4_SMBIOS_SystemEventLog",
         ofType(15),
         {{L"AccessMethod", text("Access Method")},
          {L"ListOfSupportedEventLogDescriptors", logDescriptors},
          {L"Status", text("Status")}}},
        {L"NVX4_SMBIOS_PhysicalMemoryArray",
         ofType(16),
         {{L"MemoryErrorCorrection", text("Error Correction Type")},
          {L"TotalInstalledMemory", installedMemory},
          {L"Location", code("Location", {{"System Board Or Motherboard", 3}})},
          {L"MaximumCapacity", kilobytes("Maximum Capacity")}}},
        {L"NVX4_SMBIOS_PhysicalMemory",
         ofType(17),
         {{L"Size", bytesText("Size")}, {L"BusSpeed", number("Speed", true)}}},
        {L"NVX4_SMBIOS_Baseboard",
         ofType(2),
         {{L"BoardType", code("Type", {{"Motherboard", 10}})},
          {L"BaseboardID", text("Product Name")}}},
        {L"NVX4_SMBIOS_Cache",
         ofType(7),
         {{L"CacheLevel", cacheLevel},
          {L"Location", text("Location")},
          {L"ProcessorNumber", cacheOwners},
          {L"CacheSize", kilobytes("Installed Size")}}},
        {L"NVX4_SMBIOS_PortConnector",
         ofType(8),
         {{L"Port", port}, {L"ConnectorType", connectorType}}},
        {L"NVX4_SMBIOS_MemoryController",
         ofType(5),
         {{L"MaxMemModuleSize", number("Maximum Memory Module Size")},
          {L"SupportedSpeed", list("Supported Speeds")},
          {L"CurrentInterleave", code("Current Interleave", {{"Two-way Interleave", 4}})}}},
        {L"NVX4_SMBIOS_MemoryModule",
         ofType(6),
         {{L"MemoryType", text("Type")},
          {L"MemorySpeed", number("Current Speed", true)},
          {L"InstalledSize", bytesText("Installed Size")}}},
        {L"NVX4_SMBIOS_Slot",
         ofType(9),
         {{L"SlotLength", code("Length", {{"Long", 4}})},
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
         {{L"PowerOnPasswdStatus", text("Power-On Password Status")}}},
    };
    return views;
}

const ClassView& viewOf(const std::wstring& className) {
    for (const ClassView& view : dmidecodeViews())
        if (className == view.className) return view;
    throw std::invalid_argument("no view of the class");
}

}  // namespace nvx4::test
