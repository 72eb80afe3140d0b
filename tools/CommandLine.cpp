#include "CommandLine.h"

#include <stdexcept>

#include "nvx4/repository/Publisher.h"

namespace nvx4::tool {
namespace {

OutputFormat parseFormat(const std::string& name) {
    if (name == "table") return OutputFormat::Table;
    if (name == "csv") return OutputFormat::Csv;
    if (name == "json") return OutputFormat::Json;
    throw std::invalid_argument("unknown format '" + name + "' (use table, csv or json)");
}

// Further sources may follow --repository directly; they are told from class names by their
// extension (MOF files) or as the words of the source list.
bool isSource(const std::string& arg) {
    return (arg.size() > 4 && arg.compare(arg.size() - 4, 4, ".mof") == 0) || isSourceWord(arg);
}

const std::string& valueOf(const std::vector<std::string>& argv, size_t& i) {
    if (i + 1 >= argv.size()) throw std::invalid_argument(argv[i] + " needs a value");
    return argv[++i];
}

}  // namespace

bool isSourceWord(const std::string& arg) {
    if (arg == "sample" || arg == "live") return true;
    return static_cast<bool>(repository::PublisherCatalog::find(arg.substr(0, arg.find('='))));
}

Options parseCommandLine(const std::vector<std::string>& argv) {
    Options options;
    for (size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-l" || arg == "--list") {
            options.list = true;
        } else if (arg == "-f" || arg == "--format") {
            options.format = parseFormat(valueOf(argv, i));
        } else if (arg == "--csv") {
            options.format = OutputFormat::Csv;
        } else if (arg == "--json") {
            options.format = OutputFormat::Json;
        } else if (arg == "--library") {
            options.library = valueOf(argv, i);
        } else if (arg == "-r" || arg == "--repository") {
            options.repository.push_back(valueOf(argv, i));
            while (i + 1 < argv.size() && isSource(argv[i + 1]))
                options.repository.push_back(argv[++i]);
        } else if (arg == "--check") {
            options.check = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw std::invalid_argument("unknown option '" + arg + "'");
        } else {
            options.arguments.push_back(arg);
        }
    }
    if (options.check && options.arguments.empty())
        throw std::invalid_argument("--check needs at least one MOF file");
    if (!options.help && !options.list && !options.check && options.arguments.empty())
        throw std::invalid_argument("name at least one class, or 'all'");
    return options;
}

std::string usage(const std::string& program) {
    return "Usage: " + program + R"( [options] CLASS...
       )" + program +
           R"( --list
       )" + program +
           R"( --check FILE...

Loads the provider library as an SNMP agent does, calls enumerateInstance for each
CLASS and prints the records it returns, then gives them back with snmpFree.

CLASS is a class id (1001..1045), a record type (SMBIOS_BIOS), a repository class
(NVX4_SMBIOS_BIOS, any letter case) or 'all' for every class.

Options:
  -f, --format FMT      table (default, aligned columns), csv or json; with
                        several classes, CSV blocks start with "# <id> <class>"
      --csv, --json     the same as --format csv / --format json
  -r, --repository SOURCE...
                        where instances come from, in order (sets
                        NVX4_REPOSITORY); further sources may follow, or
                        repeat the option. A SOURCE is
                          FILE.mof      instances declared in a MOF file
                          sample        the bundled sample server
                          live          every publisher below (the default)
                          os[=ROOT][,pseudo]
                                        this machine (or the machine whose
                                        /proc, /etc, ... lie under ROOT):
                                        CPUs, memory, disks (pseudo: with
                                        pseudo file systems), processes,
                                        network, system (1036-1040, 1044)
                          smbios[=FILE] this machine's SMBIOS tables, or a binary
                                        dump (dmidecode --dump-bin) (1001-1020)
                          ipmi[=FILE]   the BMC (1021-1035): in-band through
                                        /dev/ipmi0, or over the LAN (RMCP+) as
                                        the settings FILE says
                          eventlog[=DIR][,limit=N]
                                        the journal (or the journal files
                                        of DIR): application, security and
                                        system logs, N newest entries each
                                        (1041-1043)
                          smart[=cache=S][,timeout=S]
                                        disk health from smartctl, read
                                        again after S seconds (default
                                        300) (1045)
  -l, --list            print the class table: id, repository class, record type,
                        element size on the 32-bit target, number of fields
      --check FILE...   validate MOF files; errors are printed as file:line:column
      --library PATH    the provider library to load (default: the one built
                        beside this program)
  -h, --help            this text

Exit status: 0 when every class was enumerated (or every file is valid), 1 when
any enumeration or check failed, 2 for a wrong command line.
A failure prints the result code with its meaning, for example
  1001 NVX4_SMBIOS_BIOS: result -2147217394 (0x8004100E) WBEM_E_INVALID_NAMESPACE

Tracing: ULB_TRACE_LEVEL=1 writes the provider's console trace to standard output;
KEV_TRACE_LEVEL and KEV_TRACE_FILE switch on its file trace.
)";
}

}  // namespace nvx4::tool
