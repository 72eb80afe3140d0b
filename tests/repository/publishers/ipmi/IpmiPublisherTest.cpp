#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

#include "ControllerReader.h"
#include "FruReader.h"
#include "IpmiFormat.h"
#include "IpmiPublisher.h"
#include "LanReader.h"
#include "PublishFailure.h"
#include "RepositoryTesting.h"
#include "SimulatedBmc.h"

// OpenSSL keeps one allocation of its own for the process's life once OpenIPMI has set up a
// session's ciphers.
extern "C" const char* __lsan_default_suppressions() { return "leak:libcrypto.so\n"; }

namespace nvx4::repository::test {
namespace {

using nvx4::test::ScopedEnv;
using nvx4::test::SimulatedBmc;
using Instance_ = std::map<std::wstring, Value>;

std::string text(const Instance_& instance, const wchar_t* name) {
    return shown(instance.at(name));
}

// The value after "label :" on a line of a tool's report.
std::string reported(const std::string& output, const std::string& label) {
    std::smatch match;
    const std::regex line("(^|\\n)[ \\t]*" + label + "[ \\t]*:[ \\t]*([^\\n]*)");
    if (!std::regex_search(output, match, line)) return "<missing " + label + ">";
    std::string value = match[2];
    return value.substr(0, value.find_last_not_of(" \t\r") + 1);
}

class IpmiPublisherTest : public IsolatedRepository {
  protected:
    static void SetUpTestSuite() {
        bmc = std::make_unique<SimulatedBmc>();
        shared = publisher(*bmc);
    }
    static void TearDownTestSuite() {
        shared.reset();
        bmc.reset();
    }

    // It reads its settings at its first enumeration.
    static std::shared_ptr<Publisher> publisher(const SimulatedBmc& target,
                                                const std::string& extra = "") {
        return IpmiPublisher::make(target.settings(SimulatedBmc::kOperatorPassword, 0600, extra));
    }
    // The instances of the suite's publisher, which all tests share.
    static std::vector<Instance_> publish(const wchar_t* className) {
        Publication publication = shared->publish(className);
        EXPECT_EQ(publication.absent, "");
        std::vector<Instance_> instances;
        for (const PropertyValues& values : publication.instances)
            instances.emplace_back(values.begin(), values.end());
        return instances;
    }
    // The instance of a class that has exactly one.
    static Instance_ single(const wchar_t* className) {
        std::vector<Instance_> found = publish(className);
        if (found.size() != 1)
            throw std::runtime_error(std::to_string(found.size()) + " instances");
        return found[0];
    }

    static inline std::unique_ptr<SimulatedBmc> bmc;
    static inline std::shared_ptr<Publisher> shared;
};

// Properties of the classes with one instance against what ipmitool shows under a label;
// booleans as the words the report uses for true and false. One property for each way the
// publisher reads a value (a field of an area, an address, a bit of a byte).
struct ReportedField {
    const wchar_t* className;
    const char* command;
    const wchar_t* property;
    const char* label;
    const char* yes = nullptr;
    const char* no = nullptr;
};

constexpr wchar_t kBmc[] = L"NVX4_IPMI_BMC", kFru[] = L"NVX4_IPMI_FRU",
                  kLan[] = L"NVX4_IPMI_LANConfiguration", kChassis[] = L"NVX4_IPMI_ChassisStatus",
                  kWatchdog[] = L"NVX4_IPMI_Watchdog", kSel[] = L"NVX4_IPMI_SEL";
constexpr char kStatus[] = "chassis status", kWatchdogGet[] = "mc watchdog get";

const ReportedField kReportedFields[] = {
    {kBmc, "mc info", L"DeviceID", "Device ID"},
    {kBmc, "mc info", L"FirmwareVersion", "Firmware Revision"},
    {kBmc, "mc info", L"IpmiVersion", "IPMI Version"},
    {kBmc, "mc info", L"ManufacuturerID", "Manufacturer ID"},
    {kFru, "fru print 0", L"ChassisSerialNumber", "Chassis Serial"},
    {kFru, "fru print 0", L"BoardManufacturer", "Board Mfg"},
    {kFru, "fru print 0", L"ProductAssetTag", "Product Asset Tag"},
    {kLan, "lan print 1", L"IPAddress", "IP Address"},
    {kLan, "lan print 1", L"MACAddress", "MAC Address"},
    {kLan, "lan print 1", L"CommunityString", "SNMP Community String"},
    {kChassis, kStatus, L"PowerIsOn", "System Power", "on", "off"},
    {kChassis, kStatus, L"LastPowerEvent", "Last Power Event"},
    {kChassis, kStatus, L"ChassisIntrusion", "Chassis Intrusion", "active", "inactive"},
    {kWatchdog, kWatchdogGet, L"TimerStop", "Watchdog Timer Is", "Stopped", "Started"},
    {kWatchdog, kWatchdogGet, L"LogTimeout", "Watchdog Timer Logging", "On", "Off"},
    {kWatchdog, "mc info", L"DeviceID", "Device ID"},
    {kSel, "sel info", L"CurrentNumberOfRecords", "Entries"},
    {kSel, "sel info", L"Overflow", "Overflow", "true", "false"},
};

TEST_F(IpmiPublisherTest, SingleInstancesAgreeWithIpmitoolAndFreeIpmi) {
    std::map<std::wstring, Instance_> instances;
    std::map<std::string, std::string> outputs;
    for (const ReportedField& f : kReportedFields) {
        if (instances.count(f.className) == 0) instances[f.className] = single(f.className);
        if (outputs.count(f.command) == 0) outputs[f.command] = bmc->ipmitool(f.command);
        const Instance_& instance = instances[f.className];
        EXPECT_EQ(f.yes ? (instance.at(f.property).asBoolean() ? f.yes : f.no)
                        : text(instance, f.property),
                  reported(outputs[f.command], f.label))
            << f.command << ": " << f.label << "\n"
            << outputs[f.command];
    }
}

// Values of the BMC, chassis, watchdog and SEL that ipmitool shows in other words.
TEST_F(IpmiPublisherTest, BmcAgreesWithIpmitoolAndBmcInfo) {
    const Instance_ b = single(kBmc);
    EXPECT_EQ(text(b, L"SystemName"), "127.0.0.1");
    // The simulator does not implement the self test; ipmitool says so too.
    EXPECT_EQ(text(b, L"Status"), "Unknown");
    EXPECT_NE(bmc->ipmitool("mc selftest 2>&1").find("Invalid command"), std::string::npos);
    // The repository version byte 0x51 holds version 1.5, low digit first.
    EXPECT_EQ(text(b, L"SDRVersion"), "1.5");
    EXPECT_EQ(reported(bmc->ipmitool("sdr info"), "SDR Version"), "0x51");
    const char* policies[] = {"always-off", "previous", "always-on", "unknown"};
    EXPECT_EQ(policies[single(kChassis).at(L"PowerRestorePolicy").asSigned()],
              reported(bmc->ipmitool(kStatus), "Power Restore Policy"));

    const Instance_ w = single(kWatchdog);
    const std::string watchdog = bmc->ipmitool(kWatchdogGet);
    // Set by the simulator: 30 s, stopped.
    EXPECT_EQ(reported(watchdog, "Initial Countdown"),
              std::to_string(w.at(L"TimeoutInterval").asSigned() / 1000) + ".0 sec");
    // The simulator's answer ends before the present countdown (ipmitool shows bytes from past
    // its end): unknown, not a number.
    EXPECT_TRUE(w.at(L"PresentValue").isNull());

    const Instance_ log = single(kSel);
    const std::string info = bmc->ipmitool("sel info");
    EXPECT_EQ(text(log, L"FreeSpace") + " bytes", reported(info, "Free Space"));
    EXPECT_EQ(reported(info, "Version").substr(0, 3), text(log, L"Version"));
    EXPECT_EQ(text(log, L"OperationSupport"), "Delete, Reserve");
}

TEST(IpmiControllerCodes, SelfTestPowerEventsAndTimerUse) {
    const std::pair<int, const char*> selfTests[] = {
        {0x55, "OK"}, {0x56, "Unknown"}, {0x57, "Degraded"}, {0x58, "Error"}};
    for (const auto& [result, status] : selfTests)
        EXPECT_STREQ(ControllerReader::selfTestStatus(result), status);
    EXPECT_EQ(ControllerReader::lastPowerEvent(0xff), "ac-failed overload interlock fault command");
    const int entities[] = {0, 6, 6, 3, 2, 1, 0, 0};
    for (int use = 0; use < 8; ++use)
        EXPECT_EQ(ControllerReader::monitoredEntity(use | 0xc0), entities[use]) << use;
}

TEST_F(IpmiPublisherTest, AbsentLocalDeviceLeavesTheClassesEmptyWithAReason) {
    if (access("/dev/ipmi0", F_OK) == 0) GTEST_SKIP() << "this machine has a BMC device";
    Publication found = IpmiPublisher::make("")->publish(kBmc);
    EXPECT_TRUE(found.instances.empty());
    EXPECT_EQ(found.absent, "no BMC device (/dev/ipmi0 is absent)");
}

// The BMC's classes fail with a WBEM code and a trace line saying why, within the bound, and
// never trace the password.
TEST_F(IpmiPublisherTest, FailsTheBmcClassesOnlyWithinTheTimeout) {
    // The password, its file's mode, the status and the trace line expected.
    const std::tuple<const char*, unsigned, std::int32_t, const char*> cases[] = {
        {"not-the-password", 0600, PublishError::kAccessDenied,
         "NVX4_IPMI_BMC failed: session refused by the BMC at 127.0.0.1 port"},
        {SimulatedBmc::kOperatorPassword, 0644, PublishError::kAccessDenied,
         "is open to group or others (mode 0644); refusing"},
        // Last, when the simulator is gone.
        {SimulatedBmc::kOperatorPassword, 0600, PublishError::kProviderFailure,
         "NVX4_IPMI_BMC failed: no session with the BMC at 127.0.0.1 port"}};
    SimulatedBmc own;
    for (const auto& [password, mode, status, expected] : cases) {
        SCOPED_TRACE(expected);
        if (status == PublishError::kProviderFailure) own.stop();
        ScopedEnv sources(kRepositoryVariable,
                          "sample:ipmi=" + own.settings(password, mode, "timeout = 1\n"));
        const auto started = std::chrono::steady_clock::now();
        Repository::Enumeration found;
        const std::string output = traced([&] { found = enumerate(kBmc); });
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
        EXPECT_EQ(found.status, status);
        EXPECT_NE(output.find(expected), std::string::npos) << output;
        EXPECT_EQ(output.find(password), std::string::npos) << "the password was traced";
    }
}

std::string fixed(const Value& value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value.asReal());
    return text;
}

TEST_F(IpmiPublisherTest, SensorsAgreeWithIpmiSensorsAndIpmitool) {
    const std::vector<Instance_> found = publish(L"NVX4_IPMI_NumericSensor");
    // ipmi-sensors' comma-separated rows by sensor name: id, name, type, reading, units, bitmask.
    std::map<std::string, std::vector<std::string>> rows;
    std::istringstream lines(bmc->freeipmi(
        "ipmi-sensors", "--output-event-bitmask --no-header-output --comma-separated-output"));
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
        if (cells.size() == 6) rows[cells[1]] = cells;
    }
    // The state, and the threshold status bits as ipmi-sensors reports them.
    const std::tuple<const char*, const char*, const char*> expected[] = {
        {"CPU Temp", "Normal", "0000h"}, {"Board Temp", "Upper Non-Critical", "0008h"}};
    const std::pair<const wchar_t*, const char*> limits[] = {
        {L"LowerThresholdFatal", "Lower Non-Recoverable"},
        {L"NegativeHysteresis", "Negative Hysteresis"}};
    ASSERT_EQ(found.size(), 2u);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Instance_& s = found[i];
        const auto& [name, state, bitmask] = expected[i];
        SCOPED_TRACE(name);
        EXPECT_EQ(text(s, L"Name"), name);
        EXPECT_EQ(text(s, L"CurrentState"), state);
        EXPECT_EQ(rows[name].at(5), bitmask);
        EXPECT_EQ(fixed(s.at(L"CurrentReading")), rows[name].at(3));
        EXPECT_EQ(text(s, L"DeviceID"), "32.0." + std::to_string(i + 1));
        const std::string get = bmc->ipmitool("sensor get '" + std::string(name) + "'");
        for (const auto& [property, label] : limits)
            EXPECT_EQ(fixed(s.at(property)) + "0", reported(get, label)) << label;
        EXPECT_TRUE(s.at(L"NormalMax").isNull());
    }
    const std::vector<Instance_> discrete = publish(L"NVX4_IPMI_DiscreteSensor");
    ASSERT_EQ(discrete.size(), 2u);
    for (const Instance_& s : discrete) {
        const std::string name = text(s, L"Name");
        ASSERT_EQ(rows.count(name), 1u) << name;
        EXPECT_EQ(text(s, L"CurrentState"), "0x" + rows[name].at(5).substr(0, 4)) << name;
        EXPECT_EQ(s.at(L"EventReadingType").asSigned(), 0x6f);
    }
    EXPECT_EQ(discrete[1].at(L"SensorType").asSigned(), 0x25);
}

TEST_F(IpmiPublisherTest, SelRecordsAgreeWithIpmitoolAndIpmiSel) {
    const std::vector<Instance_> records = publish(L"NVX4_IPMI_SELRecord");
    ASSERT_EQ(records.size(), 2u);
    const char* names[] = {"CPU Temp", "CPU Status"};
    const int severities[] = {3, 2};  // upper non-critical going high: warning; presence
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Instance_& r = records[i];
        SCOPED_TRACE(text(r, L"RecordID"));
        const std::string get = bmc->ipmitool("sel get " + text(r, L"RecordID"));
        EXPECT_EQ(text(r, L"GeneratorID"), "0x" + reported(get, "Generator ID"));
        EXPECT_EQ(text(r, L"EventData"), "0x" + reported(get, "Event Data \\(RAW\\)"));
        EXPECT_EQ(r.at(L"SensorNumber").asSigned(), std::stoi(reported(get, "Sensor Number")));
        EXPECT_EQ(r.at(L"EventDir").asSigned() == 1 ? "Deassertion Event" : "Assertion Event",
                  reported(get, "Event Direction"));
        EXPECT_EQ(text(r, L"SensorName"), names[i]);
        EXPECT_EQ(r.at(L"Severity").asSigned(), severities[i]);
        EXPECT_EQ(text(r, L"MessageTimestamp").substr(0, 8),
                  IpmiFormat::cimDateTime(std::time(nullptr)).substr(0, 8));
    }
    const std::vector<Instance_> latest = publish(L"NVX4_IPMI_LatestSELRecord");
    ASSERT_EQ(latest.size(), 1u);
    EXPECT_EQ(text(latest[0], L"RecordID"), text(records.back(), L"RecordID"));
    EXPECT_EQ(text(latest[0], L"SensorName"), "CPU Status");
}

TEST_F(IpmiPublisherTest, SelEntriesAreReadAgainOnlyWhenTheLogChanged) {
    SimulatedBmc own;
    auto p = std::make_shared<IpmiPublisher>(own.settings(SimulatedBmc::kOperatorPassword, 0600));
    const auto first = [&p](const wchar_t* className, const wchar_t* property) {
        const Publication publication = p->publish(className);
        const PropertyValues& values = publication.instances.at(0);
        return Instance_(values.begin(), values.end()).at(property);
    };
    const auto count = [&p](const wchar_t* className) {
        return p->publish(className).instances.size();
    };
    EXPECT_EQ(count(L"NVX4_IPMI_SELRecord"), 2u);
    EXPECT_EQ(count(L"NVX4_IPMI_LatestSELRecord"), 1u);
    EXPECT_EQ(p->eventLogReads(), 1);
    own.ipmitool("raw 0x0a 0x44 0 0 0x02 0 0 0 0 0x20 0 0x04 0x01 0x02 0x01 0x09 0 0 >/dev/null");
    EXPECT_EQ(count(L"NVX4_IPMI_SELRecord"), 3u);
    EXPECT_EQ(p->eventLogReads(), 2);
    EXPECT_EQ(first(L"NVX4_IPMI_LatestSELRecord", L"Severity").asSigned(), 6) << "upper critical";
    own.ipmitool("sel clear >/dev/null");
    EXPECT_EQ(count(L"NVX4_IPMI_SELRecord"), 0u);
    EXPECT_EQ(count(L"NVX4_IPMI_LatestSELRecord"), 0u);
    EXPECT_EQ(first(kSel, L"CurrentNumberOfRecords").asSigned(), 0);
    EXPECT_EQ(p->eventLogReads(), 3);
}

TEST(IpmiSelClock, PlacesTimesSinceBmcStartRelativeToItsClock) {
    // BMC clock, host clock, entry time, the host time expected (-1: unknown).
    const std::tuple<std::uint32_t, std::int64_t, std::uint32_t, std::int64_t> cases[] = {
        {5000, 1700000000, 4000, 1699999000},              // both since start: relative to now
        {5000, 1700000000, 1600000000, 1600000000},        // absolute entry
        {1650000000, 1700000000, 4000, -1},                // relative entry, absolute clock
        {5000, 1700000000, 0xffffffff, -1},                // unspecified
        {0x20000000, 1700000000, 0x20000000, 1700000000},  // the last relative second
    };
    for (const auto& [bmcNow, hostNow, selTime, expected] : cases) {
        const auto host = SelClock(bmcNow, hostNow).toHost(selTime);
        EXPECT_EQ(host ? static_cast<std::int64_t>(*host) : -1, expected) << selTime;
    }
}

TEST_F(IpmiPublisherTest, FruAgreesWithIpmitoolAndIpmiFru) {
    const Instance_ f = single(kFru);
    const std::string fru = bmc->freeipmi("ipmi-fru");
    EXPECT_EQ(reported(bmc->ipmitool("fru print 0"), "Chassis Type"), "Rack Mount Chassis");
    EXPECT_EQ(f.at(L"ChassisType").asSigned(), 0x17);
    EXPECT_EQ(text(f, L"BoardMfgDateTime"), "19960101164000.000000+000");  // 1000 minutes
    EXPECT_EQ(reported(fru, "FRU Board Manufacturing Date/Time"), "01/01/96 - 16:40:00");
    EXPECT_EQ(f.at(L"BoardLangCode").asSigned(), 0x19);
    EXPECT_NE(fru.find("FRU FRU File ID: " + text(f, L"ProductFRUFileID")), std::string::npos);
}

// The simulator's FRU holds 8-bit text only: the other encodings and the limits.
TEST(IpmiFruField, DecodesEachTypeAndStopsAtTheEndMarker) {
    const std::pair<Bytes, const char*> cases[] = {
        {{0x83, 0x29, 0xdc, 0xa6}, "IPMI"},  // 6-bit packed ASCII
        {{0x42, 0x12, 0x3b}, "123-"},        // BCD plus
        {{0x02, 0xde, 0xad}, "0xdead"},      // binary
        {{0xc0}, ""},
    };
    std::size_t at = 0;
    std::string text;
    for (const auto& [bytes, expected] : cases) {
        at = 0;
        EXPECT_TRUE(FruReader::field(bytes, at, text));
        EXPECT_EQ(text, expected);
        EXPECT_EQ(at, bytes.size());
    }
    EXPECT_FALSE(FruReader::field({0xc1, 0xc3}, at, text)) << "end marker";
    EXPECT_FALSE(FruReader::field({0xc5, 'a'}, at, text)) << "runs past the area";
}

// Lines of a tool's table that start with a number and '|'.
std::vector<std::string> numberedRows(const std::string& output) {
    std::vector<std::string> rows;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (std::regex_search(line, std::regex("^\\s*\\d+\\s*\\|"))) rows.push_back(line);
    return rows;
}

TEST_F(IpmiPublisherTest, ChannelsAgreeWithIpmitoolChannelInfo) {
    const std::vector<Instance_> found = publish(L"NVX4_IPMI_Channel");
    const std::map<int, std::string> media = {
        {1, "IPMB (I2C)"}, {4, "802.3 LAN"}, {12, "System Interface"}};
    const char* sessions[] = {"session-less", "single-session", "multi-session", "session-based"};
    std::vector<std::string> numbers;
    for (const Instance_& c : found) {
        numbers.push_back(text(c, L"ChannelNumber"));
        const std::string info = bmc->ipmitool("channel info " + numbers.back());
        EXPECT_EQ(media.at(c.at(L"MediumType").asSigned()), reported(info, "Channel Medium Type"));
        EXPECT_EQ(sessions[c.at(L"SessionSupport").asSigned()], reported(info, "Session Support"));
        EXPECT_EQ(text(c, L"VenderID"), reported(info, "Protocol Vendor ID"));
    }
    EXPECT_EQ(numbers, (std::vector<std::string>{"0", "1", "15"}));
    const Instance_& lan = found[1];
    // Our own session at least; ipmitool's may be counted as well.
    EXPECT_GE(lan.at(L"ActiveSessionCount").asSigned(), 1);
    const std::string access = bmc->ipmitool("raw 0x06 0x41 0x01 0x80");
    EXPECT_EQ(lan.at(L"PrivilegeLimit").asSigned(), std::stoi(access.substr(4, 2), nullptr, 16))
        << access;
}

TEST_F(IpmiPublisherTest, LanUsersAgreeWithIpmitoolUserList) {
    const std::vector<Instance_> found = publish(L"NVX4_IPMI_LANUser");
    const std::string list = bmc->ipmitool("user list 1");
    const char* privileges[] = {"", "CALLBACK", "USER", "OPERATOR", "ADMINISTRATOR", "OEM"};
    const char* names[] = {SimulatedBmc::kAdmin, SimulatedBmc::kOperator};  // users 2 and 3
    ASSERT_EQ(found.size(), 2u);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Instance_& u = found[i];
        std::smatch row;
        ASSERT_TRUE(
            std::regex_search(list, row, std::regex("\\n" + text(u, L"UserID") + " +([^\\n]*)")));
        EXPECT_EQ(text(u, L"UserName"), names[i]);
        EXPECT_NE(row.str(1).find(std::string(names[i]) + " "), std::string::npos) << row[1];
        EXPECT_NE(row.str(1).find(privileges[u.at(L"PrivilegeLimit").asSigned()]),
                  std::string::npos)
            << row[1];
        EXPECT_TRUE(u.at(L"Enabled").asBoolean());
    }
}

TEST_F(IpmiPublisherTest, LanConfigurationAgreesWithIpmitoolLanPrint) {
    const Instance_ c = single(kLan);
    const std::string print = bmc->ipmitool("lan print 1");
    char ttl[8];
    std::snprintf(ttl, sizeof ttl, "0x%02x", static_cast<unsigned>(c.at(L"TimeToLive").asSigned()));
    EXPECT_NE(reported(print, "IP Header").find(std::string("TTL=") + ttl), std::string::npos);
    EXPECT_TRUE(publish(L"NVX4_IPMI_LANStatistics").empty()) << "the BMC keeps none";
    EXPECT_NE(bmc->ipmitool("raw 0x0c 0x04 1 0 2>&1").find("Invalid command"), std::string::npos);
}

TEST_F(IpmiPublisherTest, EventFiltersAndAlertPoliciesAgreeWithIpmitoolPef) {
    const std::vector<Instance_> filters = publish(L"NVX4_IPMI_EventFilter");
    const std::vector<std::string> filterRows =
        numberedRows(bmc->ipmitool("pef filter list 2>/dev/null"));
    // The simulator counts 16 filters but refuses the 16th, as ipmitool shows too.
    ASSERT_EQ(filters.size(), filterRows.size());
    EXPECT_EQ(filters.size(), 15u);
    for (std::size_t i = 0; i < filters.size(); ++i) {
        EXPECT_EQ(text(filters[i], L"EntryNumber"), std::to_string(i + 1));
        EXPECT_EQ(filters[i].at(L"Enabled").asBoolean(),
                  filterRows[i].find("disabled") == std::string::npos);
        EXPECT_EQ(filterRows[i].find("configurable") != std::string::npos,
                  filters[i].at(L"FilterType").asSigned() == 0);
    }
    const std::vector<Instance_> policies = publish(L"NVX4_IPMI_AlertPolicy");
    const std::vector<std::string> policyRows = numberedRows(bmc->ipmitool("pef policy list"));
    ASSERT_EQ(policies.size(), policyRows.size());
    for (std::size_t i = 0; i < policies.size(); ++i) {
        EXPECT_FALSE(policies[i].at(L"Enabled").asBoolean());
        EXPECT_NE(policyRows[i].find("disabled"), std::string::npos);
    }
}

TEST(IpmiLanText, AddressesAndOffsetMasks) {
    EXPECT_EQ(LanReader::ipAddress({10, 0, 0}, 0), "");
    EXPECT_EQ(LanReader::offsets(0xffff), "any");
    EXPECT_EQ(LanReader::offsets(0x0089), "0, 3, 7");
}

// The session is up and the walk's first request gets no answer: the enumeration fails within
// the timeout, says which request went unanswered, and the next one tries a new session.
// Sensor readings still fresh in the cache are served all the same.
TEST_F(IpmiPublisherTest, BmcThatStopsAnsweringFailsTheWalkWithinTheTimeout) {
    SimulatedBmc own;
    auto p = publisher(own, "timeout = 1\nsensor-cache = 0\n");
    ASSERT_EQ(p->publish(L"NVX4_IPMI_SELRecord").instances.size(), 2u);
    auto cached = publisher(own, "timeout = 0.5\nsensor-cache = 60\n");
    ASSERT_EQ(cached->publish(L"NVX4_IPMI_NumericSensor").instances.size(), 2u);
    own.stop();
    EXPECT_EQ(cached->publish(L"NVX4_IPMI_NumericSensor").instances.size(), 2u);
    EXPECT_EQ(cached->publish(L"NVX4_IPMI_DiscreteSensor").instances.size(), 2u);
    for (const wchar_t* cls : {L"NVX4_IPMI_NumericSensor", L"NVX4_IPMI_SELRecord"}) {
        const auto started = std::chrono::steady_clock::now();
        const std::string failure = nvx4::test::publishFailure([&] { p->publish(cls); });
        EXPECT_EQ(failure.substr(0, failure.find(' ')),
                  std::to_string(PublishError::kProviderFailure));
        EXPECT_TRUE(failure.find("did not answer") != std::string::npos ||
                    failure.find("no session with") != std::string::npos)
            << failure;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    }
}

}  // namespace
}  // namespace nvx4::repository::test
