#include "WalkOutput.h"

#include <sstream>
#include <stdexcept>

namespace nvx4::test {
namespace {

std::string decodeHex(const std::string& text) {
    std::istringstream in(text);
    std::string bytes;
    std::string pair;
    while (in >> pair) bytes += static_cast<char>(std::stoi(pair, nullptr, 16));
    return bytes;
}

Varbind finish(Varbind varbind) {
    if (varbind.type == "Hex-STRING") {
        varbind.type = "STRING";
        varbind.value = decodeHex(varbind.value);
    } else if (varbind.type == "STRING" && varbind.value == "\"\"") {
        varbind.value.clear();
    }
    return varbind;
}

}  // namespace

std::vector<Varbind> parseWalkOutput(const std::string& output) {
    std::vector<Varbind> varbinds;
    std::istringstream lines(output);
    std::string line;
    bool open = false;
    Varbind current;
    while (std::getline(lines, line)) {
        const size_t equals = line.find(" = ");
        if (!line.empty() && line[0] == '.' && equals != std::string::npos) {
            if (open) varbinds.push_back(finish(current));
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
    if (open) varbinds.push_back(finish(current));
    return varbinds;
}

}  // namespace nvx4::test
