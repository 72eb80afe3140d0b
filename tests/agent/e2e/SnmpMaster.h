// Debian's snmpd as master agent for a test: its own configuration, state and AgentX socket in
// a temporary folder, listening on 127.0.0.1 and a free UDP port, v2c community "public" from
// the loopback only. Never the machine's own snmpd or /etc.
#ifndef NVX4_TEST_SNMP_MASTER_H
#define NVX4_TEST_SNMP_MASTER_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Process.h"
#include "TestSupport.h"
#include "WalkOutput.h"

namespace nvx4::test {

class SnmpMaster {
  public:
    SnmpMaster();
    ~SnmpMaster() { stop(); }

    // Starts snmpd and waits until it answers (or raises std::runtime_error); stops it by its
    // process id, returning its exit status.
    void start();
    int stop();

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string agentxSocket() const { return config_.file("agentx.sock"); }
    // The temporary folder (folder().file(name) is a file in it), the environment that keeps
    // net-snmp programs to it and loads no MIB files, and a client tool's command line.
    const TempPath& folder() const { return config_; }
    const std::map<std::string, std::string>& environment() const { return environment_; }
    std::string client(const std::string& program, const std::string& options) const;
    // What a client tool prints for `oids`, as varbinds (numeric identifiers, exact values).
    std::vector<Varbind> query(const std::string& program, const std::string& oids) const;
    // Whether a subagent's table below `table` is registered yet: a get of its first cell answers
    // anything but "No Such Object" (an empty table answers "No Such Instance"). A subagent
    // registers its tables one by one, again after the master restarts.
    bool registered(const std::string& table) const;

  private:
    TempPath config_{"snmpd.conf"};
    int port_;
    std::map<std::string, std::string> environment_;
    std::unique_ptr<Process> snmpd_;
};

}  // namespace nvx4::test

#endif
