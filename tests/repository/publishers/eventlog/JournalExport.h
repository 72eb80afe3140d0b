// Real journal files for tests and benchmarks: entries written in the journal export format are
// turned into a journal file by systemd-journal-remote.
#ifndef NVX4_TEST_JOURNALEXPORT_H
#define NVX4_TEST_JOURNALEXPORT_H

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

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

}  // namespace nvx4::test

#endif
