// nvx4-subagent: serves the provider's classes to net-snmp's snmpd over AgentX.
// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
// clang-format on

#include <syslog.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "MibSchema.h"
#include "ProviderLibrary.h"
#include "SubagentOptions.h"
#include "TableHandler.h"
#include "TableSnapshot.h"

using namespace nvx4::agent;

namespace {

constexpr const char kName[] = "nvx4-subagent";
volatile std::sig_atomic_t running = 1;

void stop(int) { running = 0; }

// The provider library installed with this program, else the one built with it.
std::string defaultProvider() {
    return nvx4::client::ProviderLibrary::installedPath(NVX4_PROVIDER_FROM_PROGRAM,
                                                        NVX4_PROVIDER_BUILT);
}

void startLogging(const SubagentOptions& options) {
    if (options.logOptions.empty()) {
        if (options.foreground)
            snmp_enable_stderrlog();
        else
            snmp_enable_syslog_ident(kName, LOG_DAEMON);
        return;
    }
    for (const std::string& option : options.logOptions) {
        std::vector<char> text(option.begin(), option.end());
        text.push_back('\0');
        snmp_log_options(text.data(), 0, nullptr);
    }
}

void configureAgentX(const SubagentOptions& options) {
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 1);
    if (!options.agentxSocket.empty())
        netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_X_SOCKET,
                              options.agentxSocket.c_str());
    // The ping notices a master that went away and reconnects when it is back.
    netsnmp_ds_set_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_PING_INTERVAL,
                       options.pingSeconds);
}

void writePidFile(const std::string& path) {
    if (path.empty()) return;
    std::ofstream(path) << getpid() << '\n';
}

int serve(const SubagentOptions& options) {
    const nvx4::client::ProviderLibrary provider(options.provider.empty() ? defaultProvider()
                                                                          : options.provider);
    const ObjectId base = parseObjectId(options.base);
    configureAgentX(options);
    init_agent(kName);

    std::vector<std::unique_ptr<TableSnapshot>> snapshots;
    std::vector<std::unique_ptr<TableHandler>> handlers;
    for (const MibTable& table : MibSchema::tables()) {
        snapshots.push_back(std::make_unique<TableSnapshot>(
            provider, *table.info, options.cacheOf(table.info->id),
            [](const std::string& line) { snmp_log(LOG_ERR, "%s\n", line.c_str()); }));
        handlers.push_back(std::make_unique<TableHandler>(table, *snapshots.back(), base));
        if (!handlers.back()->registerWithAgent())
            snmp_log(LOG_ERR, "cannot register %s\n", table.tableDescriptor().c_str());
    }
    init_snmp(kName);
    if (!options.foreground && netsnmp_daemonize(1, 0) != 0) {
        snmp_log(LOG_ERR, "cannot become a daemon\n");
        return EXIT_FAILURE;
    }
    writePidFile(options.pidFile);
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    snmp_log(LOG_INFO, "%s serving %zu tables under %s\n", kName, handlers.size(),
             options.base.c_str());
    while (running) agent_check_and_process(1);
    snmp_log(LOG_INFO, "%s stopping\n", kName);
    snmp_shutdown(kName);
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const SubagentOptions options =
            parseSubagentOptions(std::vector<std::string>(argv, argv + argc));
        if (options.help) {
            std::cout << subagentUsage(kName);
            return EXIT_SUCCESS;
        }
        startLogging(options);
        // The subagent resolves no names: loading MIB files would only cost time and warnings.
        setenv("MIBS", "", 0);
        return serve(options);
    } catch (const std::invalid_argument& e) {
        std::cerr << kName << ": " << e.what() << "\nTry '" << kName << " --help'.\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << kName << ": " << e.what() << '\n';
        return EXIT_FAILURE;
    }
}
