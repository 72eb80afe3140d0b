#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <regex>

#include "IpmiPublisher.h"
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
    const std::regex line("(^|\\n)\\s*" + label + "\\s*:\\s*([^\\n]*)");
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

    static std::shared_ptr<Publisher> publisher(const std::string& extra = "") {
        return IpmiPublisher::make(
            bmc->settings(SimulatedBmc::kOperator, SimulatedBmc::kOperatorPassword, 0600, extra));
    }
    static std::vector<Instance_> publish(Publisher& p, const wchar_t* className) {
        Publication publication = p.publish(className);
        EXPECT_EQ(publication.absent, "");
        std::vector<Instance_> instances;
        for (const PropertyValues& values : publication.instances)
            instances.push_back(byName(values));
        return instances;
    }

    static SimulatedBmc* bmc;
};

SimulatedBmc* IpmiPublisherTest::bmc = nullptr;

TEST_F(IpmiPublisherTest, BmcAgreesWithIpmitoolAndBmcInfo) {
    auto p = publisher();
    const std::vector<Instance_> found = publish(*p, L"NVX4_IPMI_BMC");
    ASSERT_EQ(found.size(), 1u);
    const Instance_& b = found[0];
    const std::string tool = bmc->ipmitool("mc info");
    const std::string info = bmc->freeipmi("bmc-info", "--get-device-id");
    EXPECT_EQ(text(b, L"DeviceID"), reported(tool, "Device ID"));
    EXPECT_EQ(text(b, L"DeviceRevision"), reported(tool, "Device Revision"));
    EXPECT_EQ(text(b, L"FirmwareVersion"), reported(tool, "Firmware Revision"));
    EXPECT_EQ(text(b, L"FirmwareVersion"), reported(info, "Firmware Revision"));
    EXPECT_EQ(text(b, L"IpmiVersion"), reported(tool, "IPMI Version"));
    EXPECT_EQ(text(b, L"IpmiVersion"), reported(info, "IPMI Version"));
    EXPECT_EQ(text(b, L"ManufacuturerID"), reported(tool, "Manufacturer ID"));
    EXPECT_EQ(text(b, L"ProductID") + " (0x0f02)", reported(tool, "Product ID"));
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
        own = std::make_unique<SimulatedBmc>(std::vector<nvx4::test::SimSensor>{});
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

}  // namespace
}  // namespace nvx4::repository::test
