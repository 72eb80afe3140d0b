#include "SnmpMaster.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "FreePort.h"

namespace nvx4::test {

SnmpMaster::SnmpMaster() : port_(freeUdpPort()) {
    std::filesystem::create_directory(config_.file("state"));
    environment_ = {{"SNMP_PERSISTENT_DIR", config_.file("state")},
                    {"SNMPCONFPATH", config_.file("state")},
                    {"MIBS", ""}};
    std::ofstream(config_.path()) << "agentaddress udp:" << address() << "\nmaster agentx\n"
                                  << "agentXSocket " << agentxSocket() << "\n"
                                  << "rocommunity public 127.0.0.1\n";
}

std::string SnmpMaster::client(const std::string& program, const std::string& options) const {
    std::string command = "env";
    for (const auto& [name, value] : environment_) command += ' ' + shellQuote(name + "=" + value);
    return command + ' ' + program + " -v2c -c public -t 5 -r 1 " + options + ' ' + address();
}

std::vector<Varbind> SnmpMaster::query(const std::string& program, const std::string& oids) const {
    return parseWalkOutput(commandOutput(client(program, "-On -Ox") + ' ' + oids));
}

bool SnmpMaster::registered(const std::string& table) const {
    const std::vector<Varbind> answer = query("snmpget", table + ".1.2.1");
    return answer.size() == 1 && answer[0].type.rfind("No Such Object", 0) == std::string::npos;
}

void SnmpMaster::start() {
    snmpd_ = std::make_unique<Process>(
        std::vector<std::string>{"/usr/sbin/snmpd", "-f", "-Lo", "-C", "-c", config_.path(), "-p",
                                 config_.file("snmpd.pid")},
        environment_, config_.file("snmpd.log"));
    // sysUpTime.0 answers once snmpd serves requests.
    const std::string probe = client("snmpget", "-On") + " .1.3.6.1.2.1.1.3.0 2>&1";
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (commandOutput(probe).find("Timeticks") != std::string::npos &&
            std::filesystem::exists(agentxSocket()))
            return;
        if (!snmpd_->running()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    throw std::runtime_error("snmpd did not start; see " + config_.file("snmpd.log"));
}

int SnmpMaster::stop() {
    if (!snmpd_) return -1;
    const int status = snmpd_->stop();
    snmpd_.reset();
    return status;
}

}  // namespace nvx4::test
