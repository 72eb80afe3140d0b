// A child process started with extra environment variables and its output in a file, stopped
// by its process id.
#ifndef NVX4_TEST_PROCESS_H
#define NVX4_TEST_PROCESS_H

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "CommandOutput.h"

namespace nvx4::test {

class Process {
  public:
    // Raises std::runtime_error when no process can be started; a program that is not there
    // shows as a process that ended at once.
    Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const std::string& outputFile);
    ~Process() { stop(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // SIGTERM, then SIGKILL after five seconds; returns the exit status (128 + signal when
    // killed), or -1 when it had already been reaped.
    int stop();
    // Resident set size in kilobytes, from /proc/<pid>/status.
    long residentKilobytes() const;

  private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// A shell word holding `text`.
std::string shellQuote(const std::string& text);

}  // namespace nvx4::test

#endif
