// The name service behind the Winsock stand-in. By default it asks the host system; tests can
// replace it for the whole process with a fixed table, so that host-name logic is exercised
// deterministically and without any network traffic.
#ifndef NVX4_PLATFORM_NAMESERVICE_H
#define NVX4_PLATFORM_NAMESERVICE_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nvx4::platform {

struct HostEntry {
    std::string officialName;
    std::vector<std::string> aliases;
    std::vector<std::uint32_t> addresses;  // IPv4, network byte order
};

class NameService {
  public:
    // Serves look-ups from `hosts` (names compared without regard to ASCII case). A machine name
    // of nullopt makes reading the machine name fail.
    static void useTable(std::optional<std::string> machineName, std::vector<HostEntry> hosts);
    // Goes back to the host system's resolver.
    static void useSystem();

    // Each returns 0 on success or a Winsock error code.
    static int machineName(std::string& name);
    static int byName(const std::string& name, HostEntry& entry);
    static int byAddress(std::uint32_t address, HostEntry& entry);

    // Parses an IPv4 address in the dotted forms Winsock accepts (a.b.c.d, a.b.c, a.b, a; decimal,
    // octal or hex parts) into network byte order.
    static bool parseAddress(const char* text, std::uint32_t& address);
};

}  // namespace nvx4::platform

#endif
