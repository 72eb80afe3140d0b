// Channels and what hangs off the LAN channels: channel info and access (Get Channel Info,
// Get Channel Access), users (Get User Access, Get User Name), LAN configuration parameters,
// IP/UDP/RMCP statistics, and the platform event filters and alert policies (Get PEF
// Capabilities, Get PEF Configuration Parameters).
#ifndef NVX4_REPOSITORY_LANREADER_H
#define NVX4_REPOSITORY_LANREADER_H

#include <string>
#include <vector>

#include "IpmiConnection.h"
#include "nvx4/repository/PropertyValues.h"

namespace nvx4::repository {

class LanReader {
  public:
    LanReader(IpmiConnection& connection, std::string systemName)
        : connection_(connection), systemName_(std::move(systemName)) {}

    std::vector<PropertyValues> channels();
    std::vector<PropertyValues> users();
    std::vector<PropertyValues> configurations();
    std::vector<PropertyValues> statistics();
    std::vector<PropertyValues> eventFilters();
    std::vector<PropertyValues> alertPolicies();

    // "a.b.c.d" and "aa:bb:cc:dd:ee:ff"; empty when the bytes are short.
    static std::string ipAddress(const Bytes& bytes, std::size_t at);
    static std::string macAddress(const Bytes& bytes, std::size_t at);
    // The offsets set in an event offset mask: "any" for all 16, else "0, 3, 7".
    static std::string offsets(std::uint16_t mask);

  private:
    struct Channel {
        std::uint8_t number;
        Bytes info;
    };
    std::vector<Channel> present();
    std::vector<std::uint8_t> lanChannels();
    // A LAN configuration parameter's data (after the revision byte); empty if unsupported.
    Bytes lanParameter(std::uint8_t channel, std::uint8_t parameter);
    Bytes pefParameter(std::uint8_t parameter, std::uint8_t set);

    IpmiConnection& connection_;
    std::string systemName_;
};

}  // namespace nvx4::repository

#endif
