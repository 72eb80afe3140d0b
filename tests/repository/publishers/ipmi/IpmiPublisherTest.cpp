#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

#include "CommandOutput.h"
#include "ControllerReader.h"
#include "FruReader.h"
#include "IpmiFormat.h"
#include "IpmiPublisher.h"
#include "LanReader.h"
#include "RepositoryTesting.h"
#include "SimulatedBmc.h"
#include "nvx4/repository/Utf8.h"

// OpenSSL keeps one allocation of its own for the process's life once OpenIPMI has set up a
// session's ciphers.
extern "C" const char* __lsan_default_suppressions() { return "leak:libcrypto.so\n"; }

namespace nvx4::repository::test {
namespace {

using nvx4::test::ScopedEnv;
using nvx4::test::SimulatedBmc;
using Instance_ = std::map<std::wstring, Value>;

Instance_ byName(const PropertyValues& values) { return Instance_(values.begin(), values.end()); }

std::string text(const Instance_& instance, const wchar_t* name) {
    const Value& value = instance.at(name);
    return value.isNull() ? "<null>" : Utf8::toNarrow(value.asText());
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
    static void SetUpTestSuite() { bmc = new SimulatedBmc(); }
    static void TearDownTestSuite() {
        delete bmc;
        bmc = nullptr;
    }

    // A publisher of the suite's simulator, or of `target`; it reads its settings at its first
    // enumeration.
    static std::shared_ptr<Publisher> publisher(const std::string& extra = "",
                                                const SimulatedBmc* target = nullptr) {
        return IpmiPublisher::make(
            (target ? target : bmc)
                ->settings(SimulatedBmc::kOperator, SimulatedBmc::kOperatorPassword, 0600, extra));
    }
    static std::vector<Instance_> publish(Publisher& p, const wchar_t* className) {
        Publication publication = p.publish(className);
        EXPECT_EQ(publication.absent, "");
        std::vector<Instance_> instances;
        for (const PropertyValues& values : publication.instances)
            instances.push_back(byName(values));
        return instances;
    }
    static std::vector<Instance_> publish(const wchar_t* className) {
        return publish(*publisher(), className);
    }
    // The instance of a class that has exactly one.
    static Instance_ single(const wchar_t* className) {
        std::vector<Instance_> found = publish(className);
        if (found.size() != 1)
            throw std::runtime_error(std::to_string(found.size()) + " instances");
        return found[0];
    }

    static SimulatedBmc* bmc;
};

SimulatedBmc* IpmiPublisherTest::bmc = nullptr;

// Properties of the classes with one instance against what ipmitool shows under a label.
struct ReportedField {
    const wchar_t* className;
    const char* command;
    const wchar_t* property;
    const char* label;
};

const ReportedField kReportedFields[] = {
    {L"NVX4_IPMI_BMC", "mc info", L"DeviceID", "Device ID"},
    {L"NVX4_IPMI_BMC", "mc info", L"DeviceRevision", "Device Revision"},
    {L"NVX4_IPMI_BMC", "mc info", L"FirmwareVersion", "Firmware Revision"},
    {L"NVX4_IPMI_BMC", "mc info", L"IpmiVersion", "IPMI Version"},
    {L"NVX4_IPMI_BMC", "mc info", L"ManufacuturerID", "Manufacturer ID"},
    {L"NVX4_IPMI_FRU", "fru print 0", L"ChassisPartNumber", "Chassis Part Number"},
    {L"NVX4_IPMI_FRU", "fru print 0", L"ChassisSerialNumber", "Chassis Serial"},
    {L"NVX4_IPMI_FRU", "fru print 0", L"BoardManufacturer", "Board Mfg"},
    {L"NVX4_IPMI_FRU", "fru print 0", L"BoardSerialNumber", "Board Serial"},
    {L"NVX4_IPMI_FRU", "fru print 0", L"ProductManufacturerName", "Product Manufacturer"},
    {L"NVX4_IPMI_FRU", "fru print 0", L"ProductName", "Product Name"},
    {L"NVX4_IPMI_FRU", "fru print 0", L"ProductAssetTag", "Product Asset Tag"},
    {L"NVX4_IPMI_LANConfiguration", "lan print 1", L"IPAddress", "IP Address"},
    {L"NVX4_IPMI_LANConfiguration", "lan print 1", L"MACAddress", "MAC Address"},
    {L"NVX4_IPMI_LANConfiguration", "lan print 1", L"DefaultGatewayAddress", "Default Gateway IP"},
    {L"NVX4_IPMI_LANConfiguration", "lan print 1", L"DefaultGatewayMACAddress",
     "Default Gateway MAC"},
    {L"NVX4_IPMI_LANConfiguration", "lan print 1", L"CommunityString", "SNMP Community String"},
};

TEST_F(IpmiPublisherTest, SingleInstancesAgreeWithIpmitoolAndFreeIpmi) {
    std::map<std::wstring, Instance_> instances;
    std::map<std::string, std::string> outputs;
    for (const ReportedField& f : kReportedFields) {
        if (instances.count(f.className) == 0) instances[f.className] = single(f.className);
        if (outputs.count(f.command) == 0) outputs[f.command] = bmc->ipmitool(f.command);
        EXPECT_EQ(text(instances[f.className], f.property), reported(outputs[f.command], f.label))
            << f.command << ": " << f.label << "\n"
            << outputs[f.command];
    }
}

TEST_F(IpmiPublisherTest, BmcAgreesWithIpmitoolAndBmcInfo) {
    const Instance_ b = single(L"NVX4_IPMI_BMC");
    EXPECT_EQ(text(b, L"ProductID") + " (0x0f02)",
              reported(bmc->ipmitool("mc info"), "Product ID"));
    EXPECT_EQ(text(b, L"SystemName"), "127.0.0.1");
    const std::string selfTest = bmc->ipmitool("mc selftest 2>&1");
    // The simulator does not implement the self test; ipmitool says so too.
    EXPECT_EQ(text(b, L"Status"), "Unknown");
    EXPECT_NE(selfTest.find("Invalid command"), std::string::npos) << selfTest;
    // The repository version byte 0x51 holds version 1.5, low digit first.
    EXPECT_EQ(text(b, L"SDRVersion"), "1.5");
    EXPECT_EQ(reported(bmc->ipmitool("sdr info"), "SDR Version"), "0x51");
}

TEST_F(IpmiPublisherTest, AbsentLocalDeviceLeavesTheClassesEmptyWithAReason) {
    if (access("/dev/ipmi0", F_OK) == 0) GTEST_SKIP() << "this machine has a BMC device";
    Publication found = IpmiPublisher::make("")->publish(L"NVX4_IPMI_BMC");
    EXPECT_TRUE(found.instances.empty());
    EXPECT_EQ(found.absent, "no BMC device (/dev/ipmi0 is absent)");
}

struct Failure {
    const char* name;
    const char* password;
    unsigned mode;
    bool stopped;  // the simulator is gone
    std::int32_t status;
    const char* traced;
};

class IpmiFailureTest : public IpmiPublisherTest, public ::testing::WithParamInterface<Failure> {};

// Only the BMC's classes fail, with a WBEM code and a trace line saying why, within the bound.
TEST_P(IpmiFailureTest, FailsTheBmcClassesOnlyWithinTheTimeout) {
    const Failure& f = GetParam();
    std::unique_ptr<SimulatedBmc> own;
    SimulatedBmc* target = bmc;
    if (f.stopped) {
        own = std::make_unique<SimulatedBmc>();
        own->stop();
        target = own.get();
    }
    ScopedEnv sources(kRepositoryVariable,
                      "sample:ipmi=" + target->settings(SimulatedBmc::kOperator, f.password, f.mode,
                                                        "timeout = 1\n"));
    ScopedEnv trace("ULB_TRACE_LEVEL", "1");
    auto snapshot = Repository::current();
    ASSERT_NE(snapshot, nullptr);
    const Namespace& node = *snapshot->findNamespace(kDefaultNamespace);
    ::testing::internal::CaptureStdout();
    const auto started = std::chrono::steady_clock::now();
    Repository::Enumeration found =
        Repository::enumerate(snapshot, node, *node.findClass(L"NVX4_IPMI_BMC"), true);
    const auto took = std::chrono::steady_clock::now() - started;
    const std::string output = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(found.status, f.status);
    EXPECT_NE(output.find(f.traced), std::string::npos) << output;
    EXPECT_EQ(output.find(f.password), std::string::npos) << "the password was traced";
    EXPECT_LT(took, std::chrono::seconds(4));
    Repository::Enumeration other =
        Repository::enumerate(snapshot, node, *node.findClass(L"NVX4_OS_MemoryUsage"), true);
    EXPECT_EQ(other.status, 0);
    EXPECT_GT(other.instances->size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IpmiFailureTest,
    ::testing::Values(Failure{"WrongPassword", "not-the-password", 0600, false,
                              PublishError::kAccessDenied,
                              "NVX4_IPMI_BMC failed: session refused by the BMC at 127.0.0.1 port"},
                      Failure{"PasswordFileOpenToOthers", SimulatedBmc::kOperatorPassword, 0644,
                              false, PublishError::kAccessDenied,
                              "is open to group or others (mode 0644); refusing"},
                      Failure{"NoAnswer", SimulatedBmc::kOperatorPassword, 0600, true,
                              PublishError::kProviderFailure,
                              "NVX4_IPMI_BMC failed: no session with the BMC at "
                              "127.0.0.1 port"}),
    [](const auto& info) { return info.param.name; });

// ipmi-sensors' comma-separated rows by sensor name: id, name, type, reading, units, bitmask.
std::map<std::string, std::vector<std::string>> sensorRows(const SimulatedBmc& bmc) {
    std::map<std::string, std::vector<std::string>> rows;
    std::istringstream lines(bmc.freeipmi(
        "ipmi-sensors", "--output-event-bitmask --no-header-output --comma-separated-output"));
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
        if (cells.size() == 6) rows[cells[1]] = cells;
    }
    return rows;
}

std::string fixed(const Value& value) {
    if (value.isNull()) return "<null>";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value.asReal());
    return text;
}

TEST_F(IpmiPublisherTest, NumericSensorsAgreeWithIpmiSensorsAndIpmitool) {
    const std::vector<Instance_> found = publish(L"NVX4_IPMI_NumericSensor");
    auto rows = sensorRows(*bmc);
    struct Expected {
        const char* name;
        const char* state;
        const char* bitmask;  // as ipmi-sensors reports the threshold status
    };
    const Expected expected[] = {{"CPU Temp", "Normal", "0000h"},
                                 {"Board Temp", "Upper Non-Critical", "0008h"}};
    ASSERT_EQ(found.size(), 2u);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Instance_& s = found[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(text(s, L"Name"), expected[i].name);
        EXPECT_EQ(text(s, L"CurrentState"), expected[i].state);
        EXPECT_EQ(rows[expected[i].name].at(5), expected[i].bitmask);
        EXPECT_EQ(fixed(s.at(L"CurrentReading")), rows[expected[i].name].at(3));
        EXPECT_EQ(s.at(L"BaseUnits").asSigned(), 2) << "degrees C";
        EXPECT_EQ(text(s, L"DeviceID"), "32.0." + std::to_string(i + 1));
        const std::string get = bmc->ipmitool("sensor get '" + std::string(expected[i].name) + "'");
        const std::pair<const wchar_t*, const char*> limits[] = {
            {L"LowerThresholdFatal", "Lower Non-Recoverable"},
            {L"LowerThresholdCritical", "Lower Critical"},
            {L"LowerThresholdNonCritical", "Lower Non-Critical"},
            {L"UpperThresholdNonCritical", "Upper Non-Critical"},
            {L"UpperThresholdCritical", "Upper Critical"},
            {L"UpperThresholdFatal", "Upper Non-Recoverable"},
            {L"PositiveHysteresis", "Positive Hysteresis"},
            {L"NegativeHysteresis", "Negative Hysteresis"}};
        for (const auto& [property, label] : limits)
            EXPECT_EQ(fixed(s.at(property)) + "0", reported(get, label)) << label;
        EXPECT_EQ(fixed(s.at(L"NominalReading")), "40.00");
        EXPECT_EQ(fixed(s.at(L"NormalMax")), "<null>");
        EXPECT_EQ(fixed(s.at(L"MaxReadable")), "255.00");
    }
}

TEST_F(IpmiPublisherTest, DiscreteSensorsAgreeWithIpmiSensorsEventBitmask) {
    const std::vector<Instance_> found = publish(L"NVX4_IPMI_DiscreteSensor");
    auto rows = sensorRows(*bmc);
    ASSERT_EQ(found.size(), 2u);
    for (const Instance_& s : found) {
        const std::string name = text(s, L"Name");
        ASSERT_EQ(rows.count(name), 1u) << name;
        EXPECT_EQ(text(s, L"CurrentState"), "0x" + rows[name].at(5).substr(0, 4)) << name;
        EXPECT_EQ(s.at(L"EventReadingType").asSigned(), 0x6f);
    }
    EXPECT_EQ(text(found[0], L"CurrentState"), "0x0080") << "processor presence, bit 7";
    EXPECT_EQ(found[1].at(L"SensorType").asSigned(), 0x25);
}

std::string flag(const Instance_& instance, const wchar_t* name, const char* yes, const char* no) {
    return instance.at(name).asBoolean() ? yes : no;
}

TEST_F(IpmiPublisherTest, WatchdogAgreesWithIpmitool) {
    const Instance_ w = single(L"NVX4_IPMI_Watchdog");
    const std::string tool = bmc->ipmitool("mc watchdog get");
    // Set by the fixture: SMS/OS use (operating system, 2), no action, 30 s, stopped.
    EXPECT_EQ(reported(tool, "Watchdog Timer Use"), "SMS/OS (0x04)");
    EXPECT_EQ(w.at(L"MonitoredEntity").asSigned(), 2);
    EXPECT_EQ(reported(tool, "Watchdog Timer Action"), "No action (0x00)");
    EXPECT_EQ(w.at(L"ActionOnExpiration").asSigned(), 0);
    EXPECT_EQ(reported(tool, "Initial Countdown"),
              std::to_string(w.at(L"TimeoutInterval").asSigned() / 1000) + ".0 sec");
    EXPECT_EQ(flag(w, L"TimerStop", "Stopped", "Started"), reported(tool, "Watchdog Timer Is"));
    EXPECT_EQ(flag(w, L"LogTimeout", "On", "Off"), reported(tool, "Watchdog Timer Logging"));
    // The simulator's answer ends before the present countdown (ipmitool shows bytes from past
    // its end): unknown, not a number.
    EXPECT_TRUE(w.at(L"PresentValue").isNull());
    EXPECT_EQ(w.at(L"TimerResolution").asSigned(), 100);
    EXPECT_EQ(text(w, L"DeviceID"), reported(bmc->ipmitool("mc info"), "Device ID"));
}

TEST_F(IpmiPublisherTest, ChassisStatusAgreesWithIpmitool) {
    const Instance_ c = single(L"NVX4_IPMI_ChassisStatus");
    const std::string tool = bmc->ipmitool("chassis status");
    EXPECT_EQ(flag(c, L"PowerIsOn", "on", "off"), reported(tool, "System Power"));
    EXPECT_EQ(flag(c, L"PowerOverload", "true", "false"), reported(tool, "Power Overload"));
    EXPECT_EQ(flag(c, L"Interlock", "active", "inactive"), reported(tool, "Power Interlock"));
    EXPECT_EQ(flag(c, L"PowerFault", "true", "false"), reported(tool, "Main Power Fault"));
    EXPECT_EQ(flag(c, L"PowerControlFault", "true", "false"),
              reported(tool, "Power Control Fault"));
    const char* policies[] = {"always-off", "previous", "always-on", "unknown"};
    EXPECT_EQ(policies[c.at(L"PowerRestorePolicy").asSigned()],
              reported(tool, "Power Restore Policy"));
    EXPECT_EQ(text(c, L"LastPowerEvent"), reported(tool, "Last Power Event"));
    EXPECT_EQ(flag(c, L"ChassisIntrusion", "active", "inactive"),
              reported(tool, "Chassis Intrusion"));
    EXPECT_EQ(flag(c, L"FrontPanelLockout", "active", "inactive"),
              reported(tool, "Front-Panel Lockout"));
    EXPECT_EQ(flag(c, L"DriverFault", "true", "false"), reported(tool, "Drive Fault"));
    EXPECT_EQ(flag(c, L"CoolingFanFault", "true", "false"), reported(tool, "Cooling/Fan Fault"));
}

TEST(IpmiControllerCodes, SelfTestPowerEventsAndTimerUse) {
    EXPECT_STREQ(ControllerReader::selfTestStatus(0x55), "OK");
    EXPECT_STREQ(ControllerReader::selfTestStatus(0x56), "Unknown");
    EXPECT_STREQ(ControllerReader::selfTestStatus(0x57), "Degraded");
    EXPECT_STREQ(ControllerReader::selfTestStatus(0x58), "Error");
    EXPECT_EQ(ControllerReader::lastPowerEvent(0x00), "");
    EXPECT_EQ(ControllerReader::lastPowerEvent(0x11), "ac-failed command");
    EXPECT_EQ(ControllerReader::lastPowerEvent(0xff), "ac-failed overload interlock fault command");
    const int entities[] = {0, 6, 6, 3, 2, 1, 0, 0};
    for (int use = 0; use < 8; ++use)
        EXPECT_EQ(ControllerReader::monitoredEntity(static_cast<std::uint8_t>(use | 0xc0)),
                  entities[use])
            << use;
}

TEST_F(IpmiPublisherTest, SelAgreesWithIpmitoolSelInfo) {
    const Instance_ log = single(L"NVX4_IPMI_SEL");
    const std::string info = bmc->ipmitool("sel info");
    EXPECT_EQ(std::to_string(log.at(L"CurrentNumberOfRecords").asSigned()),
              reported(info, "Entries"));
    EXPECT_EQ(std::to_string(log.at(L"FreeSpace").asSigned()) + " bytes",
              reported(info, "Free Space"));
    EXPECT_EQ(flag(log, L"Overflow", "true", "false"), reported(info, "Overflow"));
    EXPECT_EQ(reported(info, "Version").substr(0, 3), text(log, L"Version"));
    EXPECT_EQ(text(log, L"OperationSupport"), "Delete, Reserve");
    // The simulator's clock counts from the host's boot: shown in host time, so near now.
    const std::string now = IpmiFormat::cimDateTime(std::time(nullptr));
    EXPECT_EQ(text(log, L"CurrentClock").substr(0, 12), now.substr(0, 12));
}

TEST_F(IpmiPublisherTest, SelRecordsAgreeWithIpmitoolAndIpmiSel) {
    auto p = publisher();
    const std::vector<Instance_> records = publish(*p, L"NVX4_IPMI_SELRecord");
    ASSERT_EQ(records.size(), 2u);
    const char* names[] = {"CPU Temp", "CPU Status"};
    const int severities[] = {3, 2};  // upper non-critical going high: warning; presence
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Instance_& r = records[i];
        const std::string id = text(r, L"RecordID");
        SCOPED_TRACE(id);
        char hexId[8];
        std::snprintf(hexId, sizeof hexId, "%04x", std::stoi(id));
        const std::string get = bmc->ipmitool(std::string("sel get 0x") + hexId);
        EXPECT_EQ(text(r, L"GeneratorID"), "0x" + reported(get, "Generator ID"));
        EXPECT_EQ(text(r, L"EvMRev"), "0x" + reported(get, "EvM Revision"));
        EXPECT_EQ(text(r, L"EventData"), "0x" + reported(get, "Event Data \\(RAW\\)"));
        EXPECT_EQ(r.at(L"SensorNumber").asSigned(), std::stoi(reported(get, "Sensor Number")));
        EXPECT_EQ(r.at(L"EventDir").asSigned() == 1 ? "Deassertion Event" : "Assertion Event",
                  reported(get, "Event Direction"));
        EXPECT_EQ(text(r, L"SensorName"), names[i]);
        EXPECT_EQ(r.at(L"Severity").asSigned(), severities[i]);
        EXPECT_EQ(text(r, L"MessageTimestamp").substr(0, 8),
                  IpmiFormat::cimDateTime(std::time(nullptr)).substr(0, 8));
    }
    const std::vector<Instance_> latest = publish(*p, L"NVX4_IPMI_LatestSELRecord");
    ASSERT_EQ(latest.size(), 1u);
    EXPECT_EQ(text(latest[0], L"RecordID"), text(records.back(), L"RecordID"));
    EXPECT_EQ(text(latest[0], L"SensorName"), "CPU Status");
}

// The entries are read again only when the SEL says it changed: an entry added, the log cleared.
TEST_F(IpmiPublisherTest, SelEntriesAreReadAgainOnlyWhenTheLogChanged) {
    SimulatedBmc own;
    auto p = std::make_shared<IpmiPublisher>(
        own.settings(SimulatedBmc::kOperator, SimulatedBmc::kOperatorPassword, 0600));
    EXPECT_EQ(p->publish(L"NVX4_IPMI_SELRecord").instances.size(), 2u);
    EXPECT_EQ(p->publish(L"NVX4_IPMI_LatestSELRecord").instances.size(), 1u);
    EXPECT_EQ(p->publish(L"NVX4_IPMI_SEL").instances.size(), 1u);
    EXPECT_EQ(p->eventLogReads(), 1);
    own.ipmitool("raw 0x0a 0x44 0 0 0x02 0 0 0 0 0x20 0 0x04 0x01 0x02 0x01 0x09 0 0 >/dev/null");
    const Publication added = p->publish(L"NVX4_IPMI_SELRecord");
    EXPECT_EQ(added.instances.size(), 3u);
    EXPECT_EQ(p->eventLogReads(), 2);
    EXPECT_EQ(
        byName(p->publish(L"NVX4_IPMI_LatestSELRecord").instances.at(0)).at(L"Severity").asSigned(),
        6)
        << "upper critical going high";
    own.ipmitool("sel clear >/dev/null");
    EXPECT_TRUE(p->publish(L"NVX4_IPMI_SELRecord").instances.empty());
    EXPECT_TRUE(p->publish(L"NVX4_IPMI_LatestSELRecord").instances.empty());
    EXPECT_EQ(byName(p->publish(L"NVX4_IPMI_SEL").instances.at(0))
                  .at(L"CurrentNumberOfRecords")
                  .asSigned(),
              0);
    EXPECT_EQ(p->eventLogReads(), 3);
}

struct ClockCase {
    std::uint32_t bmcNow;
    std::int64_t hostNow;
    std::uint32_t selTime;
    std::int64_t expected;  // -1: unknown
};

TEST(IpmiSelClock, PlacesTimesSinceBmcStartRelativeToItsClock) {
    const ClockCase cases[] = {
        {5000, 1700000000, 4000, 1699999000},              // both since start: relative to now
        {5000, 1700000000, 1600000000, 1600000000},        // absolute entry
        {1650000000, 1700000000, 4000, -1},                // relative entry, absolute clock
        {5000, 1700000000, 0xffffffff, -1},                // unspecified
        {0x20000000, 1700000000, 0x20000000, 1700000000},  // the last relative second
    };
    for (const ClockCase& c : cases) {
        const auto host = SelClock(c.bmcNow, c.hostNow).toHost(c.selTime);
        EXPECT_EQ(host ? static_cast<std::int64_t>(*host) : -1, c.expected) << c.selTime;
    }
}

TEST_F(IpmiPublisherTest, FruAgreesWithIpmitoolAndIpmiFru) {
    const Instance_ f = single(L"NVX4_IPMI_FRU");
    const std::string tool = bmc->ipmitool("fru print 0");
    const std::string fru = bmc->freeipmi("ipmi-fru");
    EXPECT_EQ(reported(tool, "Chassis Type"), "Rack Mount Chassis");
    EXPECT_EQ(f.at(L"ChassisType").asSigned(), 0x17);
    EXPECT_EQ(text(f, L"BoardMfgDateTime"), "19960101164000.000000+000");  // 1000 minutes
    EXPECT_EQ(reported(fru, "FRU Board Manufacturing Date/Time"), "01/01/96 - 16:40:00");
    EXPECT_EQ(f.at(L"BoardLangCode").asSigned(), 0x19);
    EXPECT_NE(fru.find("FRU FRU File ID: " + text(f, L"ProductFRUFileID")), std::string::npos);
}

struct FruFieldCase {
    std::vector<std::uint8_t> bytes;
    const char* text;
};

TEST(IpmiFruField, DecodesEachTypeAndStopsAtTheEndMarker) {
    const FruFieldCase cases[] = {
        {{0x83, 0x29, 0xdc, 0xa6}, "IPMI"},  // 6-bit packed ASCII
        {{0x42, 0x12, 0x3b}, "123-"},        // BCD plus
        {{0x02, 0xde, 0xad}, "0xdead"},      // binary
        {{0xc0}, ""},
    };
    for (const FruFieldCase& c : cases) {
        std::size_t at = 0;
        std::string text;
        EXPECT_TRUE(FruReader::field(Bytes(c.bytes.begin(), c.bytes.end()), at, text));
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(at, c.bytes.size());
    }
    std::size_t at = 0;
    std::string text;
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
    std::vector<std::string> numbers;
    for (const Instance_& c : found) numbers.push_back(text(c, L"ChannelNumber"));
    EXPECT_EQ(numbers, (std::vector<std::string>{"0", "1", "15"}));
    for (const Instance_& c : found) {
        const std::string info = bmc->ipmitool("channel info " + text(c, L"ChannelNumber"));
        const char* media[] = {"", "IPMB (I2C)", "", "", "802.3 LAN",       "", "", "",
                               "", "",           "", "", "System Interface"};
        EXPECT_EQ(media[c.at(L"MediumType").asSigned()], reported(info, "Channel Medium Type"));
        const char* sessions[] = {"session-less", "single-session", "multi-session",
                                  "session-based"};
        EXPECT_EQ(sessions[c.at(L"SessionSupport").asSigned()], reported(info, "Session Support"));
        EXPECT_EQ(std::to_string(c.at(L"VenderID").asSigned()),
                  reported(info, "Protocol Vendor ID"));
    }
    const Instance_& lan = found[1];
    // Our own session at least; ipmitool's may be counted as well.
    EXPECT_GE(lan.at(L"ActiveSessionCount").asSigned(), 1);
    EXPECT_EQ(lan.at(L"ProtocolType").asSigned(), 1) << "IPMB-1.0";
    EXPECT_TRUE(lan.at(L"AlertingEnabled").asBoolean());
    EXPECT_TRUE(lan.at(L"PerMsgAuthentication").asBoolean());
    EXPECT_EQ(lan.at(L"AccessMode").asSigned(), 2) << "always available";
    const std::string access = bmc->ipmitool("raw 0x06 0x41 0x01 0x80");
    EXPECT_EQ(lan.at(L"PrivilegeLimit").asSigned(), std::stoi(access.substr(4, 2), nullptr, 16))
        << access;
}

TEST_F(IpmiPublisherTest, LanUsersAgreeWithIpmitoolUserList) {
    const std::vector<Instance_> found = publish(L"NVX4_IPMI_LANUser");
    const std::string list = bmc->ipmitool("user list 1");
    const char* privileges[] = {"", "CALLBACK", "USER", "OPERATOR", "ADMINISTRATOR", "OEM"};
    // The fixture configures users 2 and 3 only.
    ASSERT_EQ(found.size(), 2u);
    const char* names[] = {SimulatedBmc::kAdmin, SimulatedBmc::kOperator};
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Instance_& u = found[i];
        std::smatch match;
        ASSERT_TRUE(
            std::regex_search(list, match, std::regex("\\n" + text(u, L"UserID") + " +([^\\n]*)")));
        const std::string row = match[1];
        EXPECT_EQ(text(u, L"UserName"), names[i]);
        EXPECT_NE(row.find(std::string(names[i]) + " "), std::string::npos) << row;
        EXPECT_NE(row.find(privileges[u.at(L"PrivilegeLimit").asSigned()]), std::string::npos)
            << row;
        EXPECT_TRUE(u.at(L"Enabled").asBoolean());
        EXPECT_EQ(text(u, L"ChannelNumber"), "1");
    }
}

TEST_F(IpmiPublisherTest, LanConfigurationAgreesWithIpmitoolLanPrint) {
    const Instance_ c = single(L"NVX4_IPMI_LANConfiguration");
    const std::string print = bmc->ipmitool("lan print 1");
    EXPECT_EQ(reported(print, "IP Address Source"), "Unspecified");
    EXPECT_EQ(c.at(L"IPAddressSource").asSigned(), 0);
    char ttl[8];
    std::snprintf(ttl, sizeof ttl, "0x%02x", static_cast<unsigned>(c.at(L"TimeToLive").asSigned()));
    EXPECT_NE(reported(print, "IP Header").find(std::string("TTL=") + ttl), std::string::npos);
}

TEST_F(IpmiPublisherTest, LanStatisticsAreEmptyWhereTheBmcKeepsNone) {
    EXPECT_TRUE(publish(L"NVX4_IPMI_LANStatistics").empty());
    EXPECT_NE(bmc->ipmitool("raw 0x0c 0x04 1 0 2>&1").find("Invalid command"), std::string::npos);
}

TEST_F(IpmiPublisherTest, EventFiltersAndAlertPoliciesAgreeWithIpmitoolPef) {
    auto p = publisher();
    const std::vector<Instance_> filters = publish(*p, L"NVX4_IPMI_EventFilter");
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
    const std::vector<Instance_> policies = publish(*p, L"NVX4_IPMI_AlertPolicy");
    const std::vector<std::string> policyRows = numberedRows(bmc->ipmitool("pef policy list"));
    ASSERT_EQ(policies.size(), policyRows.size());
    for (std::size_t i = 0; i < policies.size(); ++i) {
        EXPECT_FALSE(policies[i].at(L"Enabled").asBoolean());
        EXPECT_NE(policyRows[i].find("disabled"), std::string::npos);
        EXPECT_EQ(policies[i].at(L"Policy").asSigned(), 0) << "match always";
    }
}

TEST(IpmiLanText, AddressesAndOffsetMasks) {
    EXPECT_EQ(LanReader::ipAddress({10, 0, 0}, 0), "");
    EXPECT_EQ(LanReader::offsets(0xffff), "any");
    EXPECT_EQ(LanReader::offsets(0x0089), "0, 3, 7");
    EXPECT_EQ(LanReader::offsets(0), "");
}

// The session is up and the walk's first request gets no answer: the enumeration fails within
// the timeout, says which request went unanswered, and the next one tries a new session.
// Sensor readings still fresh in the cache are served all the same.
TEST_F(IpmiPublisherTest, BmcThatStopsAnsweringFailsTheWalkWithinTheTimeout) {
    SimulatedBmc own;
    auto p = publisher("timeout = 1\nsensor-cache = 0\n", &own);
    ASSERT_EQ(p->publish(L"NVX4_IPMI_SELRecord").instances.size(), 2u);
    auto cached = publisher("timeout = 0.5\nsensor-cache = 60\n", &own);
    ASSERT_EQ(cached->publish(L"NVX4_IPMI_NumericSensor").instances.size(), 2u);
    own.stop();
    EXPECT_EQ(cached->publish(L"NVX4_IPMI_NumericSensor").instances.size(), 2u);
    EXPECT_EQ(cached->publish(L"NVX4_IPMI_DiscreteSensor").instances.size(), 2u);
    for (const wchar_t* cls : {L"NVX4_IPMI_NumericSensor", L"NVX4_IPMI_SELRecord"}) {
        const auto started = std::chrono::steady_clock::now();
        try {
            p->publish(cls);
            ADD_FAILURE() << "no failure";
        } catch (const PublishError& e) {
            EXPECT_EQ(e.status(), PublishError::kProviderFailure);
            const std::string message = e.what();
            EXPECT_TRUE(message.find("did not answer") != std::string::npos ||
                        message.find("no session with") != std::string::npos)
                << message;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    }
}

// Enumerations from several threads share one session and the caches.
TEST_F(IpmiPublisherTest, ConcurrentEnumerationsAgree) {
    auto p = publisher("sensor-cache = 0\n");
    const wchar_t* classes[] = {L"NVX4_IPMI_NumericSensor", L"NVX4_IPMI_SELRecord",
                                L"NVX4_IPMI_DiscreteSensor", L"NVX4_IPMI_Channel"};
    const std::size_t expected[] = {2, 2, 2, 3};
    std::vector<std::thread> threads;
    std::atomic<int> agreed{0};
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            try {
                for (int round = 0; round < 3; ++round)
                    if (p->publish(classes[t % 4]).instances.size() == expected[t % 4]) ++agreed;
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(agreed.load(), 24);
}

// Through the provider library, as an agent loads it: records of the BMC classes.
TEST_F(IpmiPublisherTest, ToolShowsTheBmcThroughTheProviderLibrary) {
    const std::string path =
        bmc->settings(SimulatedBmc::kOperator, SimulatedBmc::kOperatorPassword, 0600);
    const std::string tool = std::string(NVX4_ENUM_TOOL) + " --repository ipmi=" + path;
    int status = -1;
    const std::string json = nvx4::test::commandOutput(tool + " --format json 1021 1027", &status);
    EXPECT_NE(json.find("\"FirmwareVersion\": \"9.08\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"CurrentNumberOfRecords\": 2"), std::string::npos) << json;
    EXPECT_EQ(status, 0) << json;
}

}  // namespace
}  // namespace nvx4::repository::test
