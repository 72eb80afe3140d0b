#include "LanReader.h"

#include <cstdio>

#include "IpmiCommands.h"
#include "IpmiFormat.h"

namespace nvx4::repository {

using namespace ipmi_commands;

namespace {

constexpr std::uint8_t kLanMedium = 4;
constexpr std::uint8_t kVolatileAccess = 0x80;
constexpr std::uint8_t kNoAccess = 0x0f;

// Channel numbers 0-11 and the system interface, 15.
const std::uint8_t kChannelNumbers[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15};

bool bit(std::uint8_t byte, int number) { return ((byte >> number) & 1) != 0; }

Value textOrNull(const std::string& text) { return text.empty() ? Value() : Value::text(text); }

}  // namespace

std::string LanReader::ipAddress(const Bytes& b, std::size_t at) {
    if (b.size() < at + 4) return {};
    return std::to_string(b[at]) + "." + std::to_string(b[at + 1]) + "." +
           std::to_string(b[at + 2]) + "." + std::to_string(b[at + 3]);
}

std::string LanReader::macAddress(const Bytes& b, std::size_t at) {
    if (b.size() < at + 6) return {};
    char text[24];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", b[at], b[at + 1], b[at + 2],
                  b[at + 3], b[at + 4], b[at + 5]);
    return text;
}

std::string LanReader::offsets(std::uint16_t mask) {
    if (mask == 0xffff) return "any";
    std::string text;
    for (int offset = 0; offset < 16; ++offset)
        if (mask & (1u << offset)) text += (text.empty() ? "" : ", ") + std::to_string(offset);
    return text;
}

std::vector<LanReader::Channel> LanReader::present() {
    std::vector<Channel> found;
    for (std::uint8_t number : kChannelNumbers) {
        try {
            Bytes info = connection_.request(kGetChannelInfo, {number});
            if (info.size() >= 7) found.push_back({number, std::move(info)});
        } catch (const IpmiCommandError&) {
            // not a channel of this controller
        }
    }
    return found;
}

std::vector<std::uint8_t> LanReader::lanChannels() {
    std::vector<std::uint8_t> numbers;
    for (const Channel& channel : present())
        if ((channel.info[1] & 0x7f) == kLanMedium) numbers.push_back(channel.number);
    return numbers;
}

std::vector<PropertyValues> LanReader::channels() {
    std::vector<PropertyValues> instances;
    for (const Channel& c : present()) {
        PropertyValues values = {
            {L"ChannelNumber", Value::text(std::to_string(c.number))},
            {L"SystemName", Value::text(systemName_)},
            {L"MediumType", Value::integer(c.info[1] & 0x7f)},
            {L"ProtocolType", Value::integer(c.info[2] & 0x1f)},
            {L"SessionSupport", Value::integer(c.info[3] >> 6)},
            {L"ActiveSessionCount", Value::integer(c.info[3] & 0x3f)},
            {L"VenderID", Value::integer(IpmiFormat::little(c.info, 4, 3))},
        };
        try {
            const Bytes access =
                connection_.request(kGetChannelAccess, {c.number, kVolatileAccess});
            values.emplace_back(L"AlertingEnabled", Value::boolean(!bit(access.at(0), 5)));
            values.emplace_back(L"PerMsgAuthentication", Value::boolean(!bit(access.at(0), 4)));
            values.emplace_back(L"AccessMode", Value::integer(access.at(0) & 0x07));
            values.emplace_back(L"PrivilegeLimit", Value::integer(access.at(1) & 0x0f));
        } catch (const IpmiCommandError&) {
            // session-less channels have no access settings
        }
        instances.push_back(std::move(values));
    }
    return instances;
}

std::vector<PropertyValues> LanReader::users() {
    std::vector<PropertyValues> instances;
    for (std::uint8_t channel : lanChannels()) {
        std::uint8_t last = 1;
        for (std::uint8_t id = 1; id <= last; ++id) {
            const Bytes access = connection_.request(kGetUserAccess, {channel, id});
            if (access.size() < 4) break;
            last = access[0] & 0x3f;
            const std::uint8_t privilege = access[3] & 0x0f;
            const bool messaging = bit(access[3], 4);
            Bytes rawName;
            try {
                rawName = connection_.request(kGetUserName, {id});
            } catch (const IpmiCommandError&) {
                // the anonymous user 1 has no name on some controllers
            }
            std::string name(rawName.begin(), rawName.end());
            name = name.substr(0, name.find('\0'));
            const bool configured =
                !name.empty() || (messaging && privilege != kNoAccess && privilege != 0);
            if (!configured) continue;
            const std::uint8_t status = access[1] >> 6;  // 01 enabled, 10 disabled
            instances.push_back({
                {L"ChannelNumber", Value::text(std::to_string(channel))},
                {L"UserID", Value::text(std::to_string(id))},
                {L"SystemName", Value::text(systemName_)},
                {L"UserName", Value::text(name)},
                {L"Enabled", Value::boolean(status == 0 ? messaging : status == 1)},
                {L"PrivilegeLimit", Value::integer(privilege)},
            });
        }
    }
    return instances;
}

Bytes LanReader::lanParameter(std::uint8_t channel, std::uint8_t parameter) {
    try {
        Bytes answer = connection_.request(kGetLanParameter, {channel, parameter, 0, 0});
        return answer.empty() ? answer : Bytes(answer.begin() + 1, answer.end());
    } catch (const IpmiCommandError&) {
        return {};  // parameter not supported
    }
}

std::vector<PropertyValues> LanReader::configurations() {
    std::vector<PropertyValues> instances;
    for (std::uint8_t channel : lanChannels()) {
        const Bytes source = lanParameter(channel, 4), ttl = lanParameter(channel, 7);
        const Bytes destinations = lanParameter(channel, 17);
        const Bytes community = lanParameter(channel, 16);
        std::string communityText(community.begin(), community.end());
        instances.push_back({
            {L"ChannelNumber", Value::text(std::to_string(channel))},
            {L"SystemName", Value::text(systemName_)},
            {L"IPAddress", textOrNull(ipAddress(lanParameter(channel, 3), 0))},
            {L"IPAddressSource", source.empty() ? Value() : Value::integer(source[0] & 0x0f)},
            {L"MACAddress", textOrNull(macAddress(lanParameter(channel, 5), 0))},
            {L"SubnetMask", textOrNull(ipAddress(lanParameter(channel, 6), 0))},
            {L"TimeToLive", ttl.empty() ? Value() : Value::integer(ttl[0])},
            {L"DefaultGatewayAddress", textOrNull(ipAddress(lanParameter(channel, 12), 0))},
            {L"DefaultGatewayMACAddress", textOrNull(macAddress(lanParameter(channel, 13), 0))},
            {L"BackupGatewayAddress", textOrNull(ipAddress(lanParameter(channel, 14), 0))},
            {L"BackupGatewayMACAddress", textOrNull(macAddress(lanParameter(channel, 15), 0))},
            {L"CommunityString",
             community.empty() ? Value()
                               : Value::text(communityText.substr(0, communityText.find('\0')))},
            {L"NumberOfDestinations",
             destinations.empty() ? Value() : Value::integer(destinations[0] & 0x0f)},
        });
    }
    return instances;
}

std::vector<PropertyValues> LanReader::statistics() {
    static const wchar_t* const counters[] = {
        L"IPPacketsReceived",        L"ReceivedIPHeaderErrors",
        L"ReceivedIPAddressErrors",  L"FragmentedIPPackagesReceived",
        L"IPPacketsTransmitted",     L"UDPPacketsReceived",
        L"ValidRMCPPacketsReceived", L"UDPProxyPacketsReceived",
        L"UDPProxyPacketsDropped"};
    std::vector<PropertyValues> instances;
    for (std::uint8_t channel : lanChannels()) {
        Bytes answer;
        try {
            answer = connection_.request(kGetLanStatistics, {channel, 0});  // 0: do not clear
        } catch (const IpmiCommandError&) {
            continue;  // the controller keeps no statistics for this channel
        }
        PropertyValues values = {{L"ChannelNumber", Value::text(std::to_string(channel))},
                                 {L"SystemName", Value::text(systemName_)}};
        for (std::size_t i = 0; i < 9; ++i)
            values.emplace_back(counters[i],
                                answer.size() >= 2 * i + 2
                                    ? Value::integer(IpmiFormat::little(answer, 2 * i, 2))
                                    : Value());
        instances.push_back(std::move(values));
    }
    return instances;
}

Bytes LanReader::pefParameter(std::uint8_t parameter, std::uint8_t set) {
    try {
        Bytes answer = connection_.request(kGetPefParameter, {parameter, set, 0});
        return answer.empty() ? answer : Bytes(answer.begin() + 1, answer.end());
    } catch (const IpmiCommandError&) {
        // Not supported, or a table entry the controller counts but refuses to give: left out.
        return {};
    }
}

std::vector<PropertyValues> LanReader::eventFilters() {
    Bytes capabilities;
    try {
        capabilities = connection_.request(kGetPefCapabilities);
    } catch (const IpmiCommandError&) {
        return {};  // no platform event filtering
    }
    std::vector<PropertyValues> instances;
    for (std::uint8_t entry = 1; entry <= IpmiFormat::at(capabilities, 2); ++entry) {
        const Bytes f = pefParameter(6, entry);
        if (f.size() < 13) continue;
        const auto mask = static_cast<std::uint16_t>(IpmiFormat::little(f, 11, 2));
        instances.push_back({
            {L"EntryNumber", Value::text(std::to_string(entry))},
            {L"SystemName", Value::text(systemName_)},
            {L"Enabled", Value::boolean(bit(f[1], 7))},
            {L"FilterType", Value::integer((f[1] >> 5) & 0x03)},
            {L"EventFilterAction", Value::integer(f[2])},
            {L"AlertPolicyNumber", Value::integer(f[3] & 0x0f)},
            {L"SensorType", Value::integer(f[7])},
            {L"SensorNumber", Value::integer(f[8])},
            {L"EventOffsetMask", Value::integer(mask)},
            {L"EventOffsetMaskDescription", Value::text(offsets(mask))},
        });
    }
    return instances;
}

std::vector<PropertyValues> LanReader::alertPolicies() {
    const Bytes count = pefParameter(8, 0);
    std::vector<PropertyValues> instances;
    for (std::uint8_t entry = 1; entry <= (IpmiFormat::at(count, 0) & 0x7f); ++entry) {
        const Bytes p = pefParameter(9, entry);
        if (p.size() < 3) continue;
        instances.push_back({
            {L"EntryNumber", Value::text(std::to_string(entry))},
            {L"SystemName", Value::text(systemName_)},
            {L"PolicyNumber", Value::integer(p[1] >> 4)},
            {L"Enabled", Value::boolean(bit(p[1], 3))},
            {L"Policy", Value::integer(p[1] & 0x07)},
            {L"ChannelNumber", Value::integer(p[2] >> 4)},
            {L"DestinationSelector", Value::integer(p[2] & 0x0f)},
        });
    }
    return instances;
}

}  // namespace nvx4::repository
