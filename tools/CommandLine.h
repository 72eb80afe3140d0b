// The command line of the agent-style tool.
#ifndef NVX4_TOOL_COMMAND_LINE_H
#define NVX4_TOOL_COMMAND_LINE_H

#include <string>
#include <vector>

namespace nvx4::tool {

enum class OutputFormat { Table, Csv, Json };

struct Options {
    bool help = false;
    bool list = false;
    bool check = false;
    OutputFormat format = OutputFormat::Table;
    std::string library;                  // empty: the built-in default
    std::vector<std::string> repository;  // instance sources, in order
    std::vector<std::string> arguments;   // classes to enumerate, or files to check
};

// Parses argv. Raises std::invalid_argument with a message for the user on a wrong argument.
Options parseCommandLine(const std::vector<std::string>& argv);

std::string usage(const std::string& program);

// Whether a --repository argument is a word of the source list (sample, live, a publisher's name
// with or without "=ARGUMENT") rather than a file.
bool isSourceWord(const std::string& arg);

}  // namespace nvx4::tool

#endif
