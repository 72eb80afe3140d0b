// The subagent's command line.
#ifndef NVX4_AGENT_SUBAGENT_OPTIONS_H
#define NVX4_AGENT_SUBAGENT_OPTIONS_H

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "ObjectId.h"

namespace nvx4::agent {

struct SubagentOptions {
    bool help = false;
    bool foreground = false;
    std::string agentxSocket;  // empty: net-snmp's default
    std::string provider;      // empty: the library installed beside the program
    std::string base = kDefaultBaseOid;
    std::chrono::milliseconds cache{5000};
    std::map<int, std::chrono::milliseconds> classCache;  // per class id, overrides `cache`
    int pingSeconds = 15;
    std::vector<std::string> logOptions;  // net-snmp -L forms: e, o, s<facility>, f<file>
    std::string pidFile;

    std::chrono::milliseconds cacheOf(int classId) const;
};

// Raises std::invalid_argument with a message for the user on a wrong argument.
SubagentOptions parseSubagentOptions(const std::vector<std::string>& argv);

std::string subagentUsage(const std::string& program);

}  // namespace nvx4::agent

#endif
