// Real journal files for tests and benchmarks: entries written in the journal export format are
// turned into a journal file by systemd-journal-remote, and read back independently with
// journalctl's JSON output.
#ifndef NVX4_TEST_JOURNALEXPORT_H
#define NVX4_TEST_JOURNALEXPORT_H

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "CommandOutput.h"

namespace nvx4::test {

using JournalFields = std::vector<std::pair<std::string, std::string>>;

class JournalExport {
  public:
    // Starts systemd-journal-remote writing `file`.
    explicit JournalExport(const std::string& file)
        : pipe_(::popen(
              ("/lib/systemd/systemd-journal-remote -o '" + file + "' - 2>/dev/null").c_str(),
              "w")) {
        if (!pipe_) throw std::runtime_error("cannot start systemd-journal-remote");
    }
    ~JournalExport() {
        if (pipe_) ::pclose(pipe_);
    }
    // Appends one entry; values with a newline or a NUL take the binary form.
    void add(std::uint64_t realtimeUsec, const JournalFields& fields) {
        std::string text = "__REALTIME_TIMESTAMP=" + std::to_string(realtimeUsec) +
                           "\n__MONOTONIC_TIMESTAMP=" + std::to_string(realtimeUsec / 1000) +
                           "\n_BOOT_ID=5c3b3a1ee6d64b8a8e0b7c6a0c1d2e3f\n";
        for (const auto& [name, value] : fields) {
            const bool binary = value.find_first_of(std::string("\n\0", 2)) != std::string::npos;
            text += name + (binary ? "\n" : "=");
            for (int i = 0; binary && i < 8; ++i) text += char((value.size() >> (8 * i)) & 0xFF);
            text += value + "\n";
        }
        text += "\n";
        std::fwrite(text.data(), 1, text.size(), pipe_);
    }
    // Waits for the file to be complete; true when the converter succeeded.
    bool finish() {
        const int status = ::pclose(pipe_);
        pipe_ = nullptr;
        return status == 0;
    }

  private:
    FILE* pipe_;
};

// Every entry of the journal files in `directory`, as journalctl prints them, oldest first.
inline std::vector<nlohmann::json> journalctl(const std::string& directory) {
    std::vector<nlohmann::json> entries;
    const std::string output =
        commandOutput("journalctl --directory='" + directory + "' -o json --all");
    for (std::size_t at = 0, end; (end = output.find('\n', at)) != std::string::npos; at = end + 1)
        entries.push_back(nlohmann::json::parse(output.substr(at, end - at)));
    return entries;
}

// A field of journalctl's JSON as bytes: a string, or an array of byte values for binary data.
inline std::string journalBytes(const nlohmann::json& value) {
    if (value.is_string()) return value.get<std::string>();
    std::string bytes;
    for (const nlohmann::json& byte : value) bytes += static_cast<char>(byte.get<int>());
    return bytes;
}

// The sequence number inside journalctl's cursor ("...;i=<hex>;...").
inline std::uint64_t journalSeqnum(const nlohmann::json& entry) {
    const std::string cursor = entry.at("__CURSOR").get<std::string>();
    const std::size_t at = cursor.find(";i=");
    return std::strtoull(cursor.c_str() + at + 3, nullptr, 16);
}

}  // namespace nvx4::test

#endif
