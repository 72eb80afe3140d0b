// The system record through the built provider library, as an agent loads it, compared with
// hostname and uname.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "OsTestSupport.h"
#include "ProviderLibrary.h"
#include "TestSupport.h"
#include "nvx4/Records.h"

namespace nvx4::repository::os::test {
namespace {

TEST(OsLibraryTest, SystemRecordDescribesThisMachineUnlessTheSampleIsAsked) {
    const client::ProviderLibrary provider{NVX4_PROVIDER_LIBRARY};
    const std::string host = lines(commandOutput("hostname")).at(0);
    const std::string kernel = lines(commandOutput("uname -r")).at(0);
    const std::tuple<std::optional<std::string>, std::string, std::string, std::string> cases[] = {
        {"os", host, kernel, "36"},
        {std::nullopt, host, kernel, "36"},  // unset: every publisher
        {"sample", "ATLAS-DB02", "10.0.17763", "18"},
    };
    for (const auto& [repository, systemName, version, osType] : cases) {
        nvx4::test::ScopedEnv sources("NVX4_REPOSITORY", repository);
        int count = 0;
        void* array = nullptr;
        ASSERT_EQ(provider.enumerateInstance(1044, &count, &array), 0);
        ASSERT_EQ(count, 1) << repository.value_or("unset");
        const OS_SysInfo system = *static_cast<const OS_SysInfo*>(array);
        provider.snmpFree(1044, array);
        EXPECT_EQ(system.SystemName, systemName);
        EXPECT_EQ(system.Version, version);
        EXPECT_EQ(system.OSType, osType);
    }
}

}  // namespace
}  // namespace nvx4::repository::os::test
