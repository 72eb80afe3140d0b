#include "EventLogReader.h"

#include <algorithm>

#include "IpmiCommands.h"
#include "IpmiFormat.h"

namespace nvx4::repository {

using namespace ipmi_commands;

namespace {

constexpr std::uint16_t kLastEntry = 0xffff;
constexpr std::size_t kMaxEntries = 65535;

Value time(const SelClock& clock, std::uint32_t selTime) {
    const auto host = clock.toHost(selTime);
    return host ? Value::text(IpmiFormat::cimDateTime(*host)) : Value();
}

std::string operations(std::uint8_t support) {
    static const char* const names[] = {"Get Allocation Info", "Reserve", "Partial Add", "Delete"};
    std::string text;
    for (int bit = 3; bit >= 0; --bit)
        if (support & (1u << bit)) text += (text.empty() ? "" : ", ") + std::string(names[bit]);
    return text;
}

}  // namespace

std::optional<std::time_t> SelClock::toHost(std::uint32_t selTime) const {
    if (selTime == kUnspecified) return std::nullopt;
    if (selTime > kLastRelative) return static_cast<std::time_t>(selTime);
    if (bmcNow_ > kLastRelative) return std::nullopt;
    return hostNow_ - (static_cast<std::time_t>(bmcNow_) - static_cast<std::time_t>(selTime));
}

Bytes EventLogReader::info() {
    Bytes answer = connection_.request(kGetSelInfo);
    if (answer.size() < 14)
        throw PublishError(PublishError::kProviderFailure, "Get SEL Info answer too short");
    return answer;
}

SelClock EventLogReader::clock() {
    const std::time_t hostNow = std::time(nullptr);
    return SelClock(IpmiFormat::little(connection_.request(kGetSelTime), 0, 4), hostNow);
}

std::vector<SelEntry> EventLogReader::entries() {
    // Whole entries need no reservation (0000h), so other clients cannot cancel the walk.
    const std::uint16_t reservation = 0;
    std::vector<SelEntry> found;
    for (std::uint16_t id = 0; id != kLastEntry && found.size() < kMaxEntries;) {
        Bytes answer;
        try {
            answer =
                connection_.request(kGetSelEntry, {static_cast<std::uint8_t>(reservation),
                                                   static_cast<std::uint8_t>(reservation >> 8),
                                                   static_cast<std::uint8_t>(id),
                                                   static_cast<std::uint8_t>(id >> 8), 0, 0xff});
        } catch (const IpmiCommandError& e) {
            if (e.code() == 0xcb && found.empty()) break;  // an empty log has no first entry
            throw;
        }
        if (answer.size() < 18)
            throw PublishError(PublishError::kProviderFailure, "Get SEL Entry answer too short");
        SelEntry entry{};
        std::copy(answer.begin() + 2, answer.begin() + 18, entry.begin());
        found.push_back(entry);
        const auto next = static_cast<std::uint16_t>(IpmiFormat::little(answer, 0, 2));
        if (next == id) break;
        id = next;
    }
    return found;
}

PropertyValues EventLogReader::log(const Bytes& info, const SelClock& clock,
                                   const std::string& systemName) {
    const std::uint32_t added = IpmiFormat::little(info, 5, 4);
    const std::uint32_t erased = IpmiFormat::little(info, 9, 4);
    std::uint32_t changed = SelClock::kUnspecified;
    for (std::uint32_t t : {added, erased})
        if (t != SelClock::kUnspecified && (changed == SelClock::kUnspecified || t > changed))
            changed = t;
    return {
        {L"Name", Value::text(kLogName)},
        {L"SystemName", Value::text(systemName)},
        {L"CurrentNumberOfRecords", Value::integer(IpmiFormat::little(info, 1, 2))},
        {L"TimeOfLastChange", time(clock, changed)},
        {L"CurrentClock", time(clock, clock.bmcNow())},
        {L"Version", Value::text(IpmiFormat::bcdVersion(info[0]))},
        {L"FreeSpace", Value::integer(IpmiFormat::little(info, 3, 2))},
        {L"OperationSupport", Value::text(operations(info[13]))},
        {L"Overflow", Value::boolean((info[13] & 0x80) != 0)},
    };
}

int EventLogReader::severity(const SelEntry& e) {
    if (e[2] != 0x02) return 0;  // OEM records: unknown
    const bool deasserted = (e[12] & 0x80) != 0;
    if (deasserted || (e[12] & 0x7f) != 0x01) return 2;
    switch (e[13] & 0x0f) {
        case 0:
        case 1:
        case 6:
        case 7:
            return 3;
        case 2:
        case 3:
        case 8:
        case 9:
            return 6;
        case 4:
        case 5:
        case 10:
        case 11:
            return 7;
        default:
            return 2;
    }
}

PropertyValues EventLogReader::record(const SelEntry& e, const SelClock& clock,
                                      const std::vector<SensorRecord>& sensors,
                                      const std::string& systemName) {
    const Bytes bytes(e.begin(), e.end());
    PropertyValues values = {
        {L"LogName", Value::text(kLogName)},
        {L"RecordID", Value::text(std::to_string(IpmiFormat::little(bytes, 0, 2)))},
        {L"SystemName", Value::text(systemName)},
        {L"Severity", Value::integer(severity(e))},
    };
    const std::uint8_t type = e[2];
    if (type < 0xe0)
        values.emplace_back(L"MessageTimestamp", time(clock, IpmiFormat::little(bytes, 3, 4)));
    if (type != 0x02) {  // OEM records: their data as it stands
        values.emplace_back(
            L"EventData",
            Value::text(IpmiFormat::hex(Bytes(e.begin() + (type < 0xe0 ? 7 : 3), e.end()))));
        return values;
    }
    const std::uint8_t generator = e[7];
    auto sensor = std::find_if(sensors.begin(), sensors.end(), [&](const SensorRecord& s) {
        return (generator & 1) == 0 && s.owner == generator && s.number == e[11];
    });
    values.insert(
        values.end(),
        {
            {L"GeneratorID", Value::text(IpmiFormat::hex(IpmiFormat::little(bytes, 7, 2), 4))},
            {L"SensorType", Value::integer(e[10])},
            {L"SensorName", sensor != sensors.end() ? Value::text(sensor->name) : Value()},
            {L"SensorNumber", Value::integer(e[11])},
            {L"EventType", Value::integer(e[12] & 0x7f)},
            {L"EventData", Value::text(IpmiFormat::hex(Bytes(e.begin() + 13, e.end())))},
            {L"EventDir", Value::integer(e[12] >> 7)},
            {L"GeneratorType", Value::integer(generator & 1)},
            {L"ChannelNumber", Value::integer(e[8] >> 4)},
            {L"EvMRev", Value::text(IpmiFormat::hex(e[9], 2))},
        });
    return values;
}

}  // namespace nvx4::repository
