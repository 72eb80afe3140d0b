#include "Dmidecode.h"

#include <cstdio>
#include <sstream>

#include "CommandOutput.h"

namespace nvx4::test {

std::optional<std::string> DmiRecord::field(const std::string& key) const {
    auto found = fields.find(key);
    if (found == fields.end()) return std::nullopt;
    return found->second;
}

bool Dmidecode::available() { return std::system("dmidecode --version >/dev/null 2>&1") == 0; }

std::vector<DmiRecord> Dmidecode::run(const std::string& arguments) {
    return parse(commandOutput("dmidecode " + arguments + " 2>/dev/null"));
}

std::vector<DmiRecord> Dmidecode::parse(const std::string& output) {
    std::vector<DmiRecord> records;
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

}  // namespace nvx4::test
