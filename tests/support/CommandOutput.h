// Running the independent tools the tests compare with: what a shell command prints on standard
// output (and its exit status), and the non-empty lines of a text.
#ifndef NVX4_TEST_COMMANDOUTPUT_H
#define NVX4_TEST_COMMANDOUTPUT_H

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace nvx4::test {

inline std::string commandOutput(const std::string& command, int* status = nullptr) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, got);
    const int exit = ::pclose(pipe);
    if (status != nullptr) *status = exit;
    return output;
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) out.push_back(line);
    return out;
}

}  // namespace nvx4::test

#endif
