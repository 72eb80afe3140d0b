// A simulated BMC for the ipmi publisher's tests: OpenIPMI's ipmi_sim on 127.0.0.1 and a free
// high port, in its own temporary folder (LAN configuration, emulator commands, wiped state),
// stopped by its PID. Sensors, SEL entries and FRU data come from the tables the test gives.
#ifndef NVX4_TEST_SIMULATEDBMC_H
#define NVX4_TEST_SIMULATEDBMC_H

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace nvx4::test {

struct SimSensor {
    int number;
    int type;  // sensor type code
    std::string name;
    bool threshold;  // a threshold sensor with a full SDR, else discrete with a compact one
    int raw;         // the reading, or for a discrete sensor the state bit set
};

class SimulatedBmc {
  public:
    static constexpr char kAdmin[] = "admin";
    static constexpr char kAdminPassword[] = "s3cret-admin";
    static constexpr char kOperator[] = "monitor";
    static constexpr char kOperatorPassword[] = "s3cret-monitor";

    // Starts the simulator with these sensors, or the tests' four when none are given (and the
    // standard FRU data and SEL entries).
    explicit SimulatedBmc(std::vector<SimSensor> sensors = {});
    ~SimulatedBmc();
    SimulatedBmc(const SimulatedBmc&) = delete;
    SimulatedBmc& operator=(const SimulatedBmc&) = delete;

    // Writes the publisher's settings file for the operator (password file mode `mode`) and
    // returns its path; `extra` lines are appended.
    std::string settings(const std::string& password, unsigned mode,
                         const std::string& extra = "") const;
    // Runs ipmitool over lanplus as the administrator; returns its standard output.
    std::string ipmitool(const std::string& arguments) const;
    // Runs a FreeIPMI tool against this simulator with its own SDR cache folder.
    std::string freeipmi(const std::string& tool, const std::string& arguments = "") const;
    void stop();

  private:
    void writeFiles(const std::vector<SimSensor>& sensors) const;
    void waitUntilAnswering() const;

    std::string folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace nvx4::test

#endif
