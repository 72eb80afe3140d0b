#include "SubagentOptions.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "nvx4/ClassTable.h"

namespace nvx4::agent {
namespace {

std::chrono::milliseconds parseSeconds(const std::string& text, const std::string& option) {
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > 86400)
        throw std::invalid_argument(option + " takes seconds from 0 to 86400, not '" + text + "'");
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

// "1039=2.5": a class identifier and its cache period.
void parseClassCache(const std::string& text, SubagentOptions& options) {
    const size_t equals = text.find('=');
    const std::string id = text.substr(0, equals);
    const ClassInfo* info = nullptr;
    if (equals != std::string::npos && !id.empty() && id.size() <= 4 &&
        id.find_first_not_of("0123456789") == std::string::npos)
        info = findClass(std::stoi(id));
    if (info == nullptr)
        throw std::invalid_argument(
            "--cache-class takes CLASS=SECONDS with a class from 1001 "
            "to 1045, not '" +
            text + "'");
    options.classCache[info->id] = parseSeconds(text.substr(equals + 1), "--cache-class");
}

void parseLogOption(const std::string& text, SubagentOptions& options) {
    const bool known = text == "e" || text == "o" || (text.size() == 2 && text[0] == 's') ||
                       (text.size() > 1 && text[0] == 'f');
    if (!known)
        throw std::invalid_argument("-L takes e, o, s<facility> or f<file>, not '" + text + "'");
    options.logOptions.push_back(text);
}

}  // namespace

std::chrono::milliseconds SubagentOptions::cacheOf(int classId) const {
    const auto it = classCache.find(classId);
    return it == classCache.end() ? cache : it->second;
}

SubagentOptions parseSubagentOptions(const std::vector<std::string>& argv) {
    SubagentOptions options;
    for (size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= argv.size()) throw std::invalid_argument(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-f" || arg == "--foreground") {
            options.foreground = true;
        } else if (arg == "-x" || arg == "--agentx-socket") {
            options.agentxSocket = value();
        } else if (arg == "-p" || arg == "--provider") {
            options.provider = value();
        } else if (arg == "--base") {
            options.base = formatObjectId(parseObjectId(value()));
        } else if (arg == "-c" || arg == "--cache") {
            options.cache = parseSeconds(value(), arg);
        } else if (arg == "--cache-class") {
            parseClassCache(value(), options);
        } else if (arg == "--ping") {
            const std::chrono::milliseconds ping = parseSeconds(value(), arg);
            if (ping.count() % 1000 != 0 || ping.count() == 0)
                throw std::invalid_argument("--ping takes whole seconds from 1 to 86400");
            options.pingSeconds = static_cast<int>(ping.count() / 1000);
        } else if (arg.rfind("-L", 0) == 0) {
            std::string text = arg.size() > 2 ? arg.substr(2) : value();
            // As net-snmp's programs take it, the file may also be the next argument: -Lf FILE.
            if (text == "f") text += value();
            parseLogOption(text, options);
        } else if (arg == "--pid-file") {
            options.pidFile = value();
        } else {
            throw std::invalid_argument("unknown argument '" + arg + "'");
        }
    }
    return options;
}

std::string subagentUsage(const std::string& program) {
    return "Usage: " + program +
           " [options]\n"
           "Serves the provider's 45 classes as the tables of NVX4-MIB to an SNMP master agent\n"
           "over AgentX.\n\n"
           "  -x, --agentx-socket ADDR  the master's AgentX address (default: net-snmp's,\n"
           "                            /var/agentx/master); e.g. /run/x.sock, tcp:localhost:705\n"
           "  -p, --provider PATH       the provider library (default: the one installed with\n"
           "                            this program)\n"
           "      --base OID            the MIB's object identifier, as given to nvx4-mibgen\n"
           "                            (default 1.3.6.1.4.1.8072.9999.9999)\n"
           "  -c, --cache SECONDS       how long a table's snapshot serves (default 5)\n"
           "      --cache-class ID=SECONDS  the same for one class, e.g. 1039=1 (repeatable)\n"
           "      --ping SECONDS        how often to check the master and reconnect (default 15)\n"
           "  -f, --foreground          stay in the foreground (default: become a daemon)\n"
           "  -L e | o | s<facility> | f<file>\n"
           "                            log to stderr, stdout, syslog (facility d = daemon,\n"
           "                            0-7 = local0-7) or a file (default: stderr in the\n"
           "                            foreground, syslog facility daemon otherwise)\n"
           "      --pid-file FILE       write the process id to FILE\n"
           "  -h, --help                show this text\n";
}

}  // namespace nvx4::agent
