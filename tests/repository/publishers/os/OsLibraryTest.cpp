// The os publisher through the built provider library, loaded as an agent loads it: the system
// record, compared with hostname and uname.
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

TEST_F(OsLibraryTest, SystemRecordDescribesThisMachineUnlessTheSampleIsAsked) {
    struct Case {
        std::optional<std::string> repository;
        std::string systemName, version, osType;
    };
    const std::string host = lines(commandOutput("hostname")).at(0);
    const std::string kernel = lines(commandOutput("uname -r")).at(0);
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
