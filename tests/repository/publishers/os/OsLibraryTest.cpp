// The system record through the built provider library, as an agent loads it, compared with
// hostname, uname, os-release, who, ps and ip.
#include <gtest/gtest.h>

#include <optional>

#include "OsTestSupport.h"
#include "ProviderLibrary.h"
#include "TestSupport.h"
#include "nvx4/Records.h"

namespace nvx4::repository::os::test {
namespace {

std::string firstLine(const std::string& command) { return lines(commandOutput(command)).at(0); }

TEST(OsLibraryTest, SystemRecordDescribesThisMachineUnlessTheSampleIsAsked) {
    const client::ProviderLibrary provider{NVX4_PROVIDER_LIBRARY};
    const auto record = [&provider](const std::optional<std::string>& repository) {
        nvx4::test::ScopedEnv sources("NVX4_REPOSITORY", repository);
        int count = 0;
        void* array = nullptr;
        EXPECT_EQ(provider.enumerateInstance(1044, &count, &array), 0);
        if (count != 1) throw std::runtime_error(std::to_string(count) + " system records");
        const OS_SysInfo system = *static_cast<const OS_SysInfo*>(array);
        provider.snmpFree(1044, array);
        return system;
    };
    const OS_SysInfo sample = record("sample");
    EXPECT_EQ(sample.SystemName, "ATLAS-DB02");
    EXPECT_EQ(sample.Version, "10.0.17763");
    EXPECT_EQ(sample.OSType, "18");
    for (const auto& repository :
         {std::optional<std::string>("os"), std::optional<std::string>()}) {
        SCOPED_TRACE(repository.value_or("unset: every publisher"));
        const OS_SysInfo system = record(repository);
        EXPECT_EQ(system.SystemName, firstLine("hostname"));
        EXPECT_EQ(system.Version, firstLine("uname -r"));
        EXPECT_EQ(system.OSType, "36");
        EXPECT_EQ(system.OSArch,
                  firstLine("uname -m").find("64") != std::string::npos ? "64-bit" : "32-bit");
        EXPECT_EQ(system.Name, firstLine(". /etc/os-release; echo \"$PRETTY_NAME\""));
        EXPECT_EQ(system.NumberOfUsers, std::stoi(commandOutput("who | wc -l")));
        const int processes = std::stoi(commandOutput("ps -e --no-headers | wc -l"));
        EXPECT_NEAR(system.NumberOfProcesses, processes, 5 + processes / 10);
        // The address of the default route's interface.
        const std::string device = commandOutput("ip -4 route show default | awk '{print $5}'");
        EXPECT_EQ(system.IPAddress,
                  device.empty() ? "127.0.0.1"
                                 : firstLine("ip -4 -o addr show dev " + lines(device).at(0) +
                                             " | awk '{split($4, a, \"/\"); print a[1]; exit}'"));
    }
}

}  // namespace
}  // namespace nvx4::repository::os::test
