// The varbinds that snmpwalk, snmpbulkwalk, snmpget and snmpgetnext print with -On -Ox:
// numeric identifiers, strings as hexadecimal bytes (possibly over several lines), decoded
// into exact values.
#ifndef NVX4_TEST_WALK_OUTPUT_H
#define NVX4_TEST_WALK_OUTPUT_H

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace nvx4::test {

struct Varbind {
    std::string oid;    // dotted, without the leading dot
    std::string type;   // INTEGER, STRING (also for Hex-STRING), or what the tool printed
    std::string value;  // integer digits, or the string's bytes
};

inline Varbind finishVarbind(Varbind varbind) {
    if (varbind.type == "Hex-STRING") {
        std::istringstream in(varbind.value);
        varbind.type = "STRING";
        varbind.value.clear();
        for (std::string pair; in >> pair;)
            varbind.value += static_cast<char>(std::stoi(pair, nullptr, 16));
    } else if (varbind.type == "STRING" && varbind.value == "\"\"") {
        varbind.value.clear();
    }
    return varbind;
}

// Raises std::runtime_error on a line it cannot read.
inline std::vector<Varbind> parseWalkOutput(const std::string& output) {
    std::vector<Varbind> varbinds;
    std::istringstream lines(output);
    std::string line;
    bool open = false;
    Varbind current;
    while (std::getline(lines, line)) {
        const size_t equals = line.find(" = ");
        if (!line.empty() && line[0] == '.' && equals != std::string::npos) {
            if (open) varbinds.push_back(finishVarbind(current));
            current = {line.substr(1, equals - 1), "", ""};
            const std::string rest = line.substr(equals + 3);
            const size_t colon = rest.find(": ");
            if (rest == "\"\"") {
                current.type = "STRING";
            } else if (colon == std::string::npos) {
                current.type = rest;  // "No Such Instance ...", "No more variables ..."
            } else {
                current.type = rest.substr(0, colon);
                current.value = rest.substr(colon + 2);
            }
            open = true;
        } else if (open && current.type == "Hex-STRING") {
            current.value += ' ' + line;
        } else if (!line.empty()) {
            throw std::runtime_error("unexpected line: " + line);
        }
    }
    if (open) varbinds.push_back(finishVarbind(current));
    return varbinds;
}

}  // namespace nvx4::test

#endif
