// The os publisher through the built provider library, loaded as an agent loads it: the records
// of processes and of the system, compared with ps, hostname and uname.
#include <gtest/gtest.h>

#include <optional>

#include "OsTestSupport.h"
#include "ProviderLibrary.h"
#include "TestSupport.h"
#include "nvx4/Records.h"

namespace nvx4::repository::os::test {
namespace {

using nvx4::test::ScopedEnv;

template <typename Record>
std::vector<Record> records(const client::ProviderLibrary& provider, int classId) {
    int count = 0;
    void* array = nullptr;
    EXPECT_EQ(provider.enumerateInstance(classId, &count, &array), 0) << classId;
    const auto* first = static_cast<const Record*>(array);
    std::vector<Record> copies(first, first + count);
    provider.snmpFree(classId, array);
    return copies;
}

class OsLibraryTest : public ::testing::Test {
  protected:
    const client::ProviderLibrary provider_{NVX4_PROVIDER_LIBRARY};
};

TEST_F(OsLibraryTest, ProcessRecordsListTheRunningProcesses) {
    Child probe("nvx4-lib-probe", Child::kPause);
    ScopedEnv sources("NVX4_REPOSITORY", "os");
    const auto processes = records<OS_Process>(provider_, 1039);
    const int ps = static_cast<int>(lines(run("ps -e --no-headers")).size());
    EXPECT_NEAR(static_cast<int>(processes.size()), ps, 5 + ps / 10);  // others come and go
    for (std::size_t i = 0; i < processes.size(); ++i) EXPECT_EQ(processes[i].Index, i + 1);
    const std::string child = std::to_string(probe.pid());
    auto found = std::find_if(processes.begin(), processes.end(),
                              [&](const OS_Process& p) { return p.Handle == child; });
    ASSERT_NE(found, processes.end());
    EXPECT_EQ(found->Name, "nvx4-lib-probe");
    EXPECT_EQ(found->ParentProcessID, ::getpid());
    EXPECT_EQ(found->ExecutionState, "4");
    EXPECT_EQ(found->Priority, 8);
    EXPECT_EQ(found->CPUUsage.substr(found->CPUUsage.find('.')).size(), 7u) << found->CPUUsage;
}

TEST_F(OsLibraryTest, SystemRecordDescribesThisMachineUnlessTheSampleIsAsked) {
    struct Case {
        std::optional<std::string> repository;
        std::string systemName, version, osType;
    };
    const std::string host = lines(run("hostname")).at(0);
    const std::string kernel = lines(run("uname -r")).at(0);
    const Case cases[] = {
        {"os", host, kernel, "36"},
        {std::nullopt, host, kernel, "36"},  // unset: every publisher
        {"sample", "ATLAS-DB02", "10.0.17763", "18"},
    };
    for (const Case& c : cases) {
        ScopedEnv sources("NVX4_REPOSITORY", c.repository);
        const auto system = records<OS_SysInfo>(provider_, 1044);
        ASSERT_EQ(system.size(), 1u) << c.repository.value_or("unset");
        EXPECT_EQ(system[0].SystemName, c.systemName);
        EXPECT_EQ(system[0].Version, c.version);
        EXPECT_EQ(system[0].OSType, c.osType);
    }
}

}  // namespace
}  // namespace nvx4::repository::os::test
