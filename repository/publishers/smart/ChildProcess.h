// Runs a program as a separate process, without a shell: the arguments go to it as they are. Its
// standard output is collected, standard input and error are /dev/null, and no other descriptor
// of this process is passed on. A program that does not finish in time is killed; the child is
// always reaped.
#ifndef NVX4_REPOSITORY_CHILDPROCESS_H
#define NVX4_REPOSITORY_CHILDPROCESS_H

#include <chrono>
#include <string>
#include <vector>

namespace nvx4::repository {

class ChildProcess {
  public:
    struct Result {
        bool found = true;  // false: the program is not on PATH
        bool timedOut = false;
        int exitStatus = -1;  // -1 when it did not exit normally
        std::string output;
    };

    // argv[0] is looked up on PATH. Throws std::system_error when the process cannot be made.
    static Result run(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);
};

}  // namespace nvx4::repository

#endif
