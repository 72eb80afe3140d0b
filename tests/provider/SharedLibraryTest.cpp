// The built provider library loaded with dlopen, as an SNMP agent loads it, over fixture
// repositories given through NVX4_REPOSITORY.
#include <gtest/gtest.h>

#include <fstream>

#include "ProviderLibrary.h"
#include "TestSupport.h"
#include "nvx4/Records.h"

namespace {

using nvx4::test::ScopedEnv;
using nvx4::test::TempPath;

class SharedLibraryTest : public ::testing::Test {
  protected:
    // Writes `text` as the only instance source.
    void useRepository(const std::string& text) {
        std::ofstream(fixture_.path()) << text;
        repository_.emplace("NVX4_REPOSITORY", fixture_.path());
    }

    const nvx4::client::ProviderLibrary provider_{NVX4_PROVIDER_LIBRARY};
    TempPath fixture_{"fixture.mof"};
    std::optional<ScopedEnv> repository_;
};

const char kThreeBioses[] = R"(
instance of NVX4_SMBIOS_BIOS { Handle = 0; Version = "2.1.7"; ReleaseDate = "03/14/2024"; Manufacturer = "Acme"; };
instance of NVX4_SMBIOS_BIOS { Handle = -1; Version = ""; ReleaseDate = "x"; Manufacturer = NULL; };
instance of NVX4_SMBIOS_BIOS { Handle = 2147483647; Version = "v\"3\""; ReleaseDate = "y"; Manufacturer = "Z"; };
)";

TEST_F(SharedLibraryTest, AClassWithoutInstancesGivesNoArray) {
    useRepository("// no instances\n");
    int count = -5;
    void* instances = &count;
    EXPECT_EQ(provider_.enumerateInstance(1001, &count, &instances), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(instances, nullptr);
    provider_.snmpFree(1001, nullptr);
}

TEST_F(SharedLibraryTest, UnknownClassesLeaveTheOutParametersAlone) {
    for (int id : {1000, 1046, 0, -1}) {
        int count = 77;
        void* instances = &count;
        EXPECT_EQ(provider_.enumerateInstance(id, &count, &instances), -1) << id;
        EXPECT_EQ(count, 77);
        EXPECT_EQ(instances, &count);
    }
}

TEST_F(SharedLibraryTest, FailuresReachTheCallerWithNoArray) {
    struct Case {
        const char* name;
        const char* repository;
        int result;
    };
    const Case cases[] = {
        // The repository cannot be opened: its status code passes through unchanged.
        {"broken file", "instance of NVX4_SMBIOS_BIOS { Handle = ; };",
         static_cast<int>(0x80041021)},
        // A property of another type than the field needs: the row read fails.
        {"type mismatch",
         "class NVX4_SMBIOS_BIOS { [key] string Handle; string Version; string ReleaseDate; "
         "string Manufacturer; };\ninstance of NVX4_SMBIOS_BIOS { Handle = \"1\"; };",
         -10},
        // A property the class lacks.
        {"missing property",
         "class NVX4_SMBIOS_BIOS { [key] sint32 Handle; string Version; string ReleaseDate; };\n"
         "instance of NVX4_SMBIOS_BIOS { Handle = 1; };",
         -10},
        // The class is gone from the namespace.
        {"unknown class", "#pragma deleteclass(\"NVX4_SMBIOS_BIOS\", NOFAIL)\n",
         static_cast<int>(0x80041010)},
    };
    for (const Case& c : cases) {
        useRepository(c.repository);
        int count = 99;
        void* instances = &count;
        EXPECT_EQ(provider_.enumerateInstance(1001, &count, &instances), c.result) << c.name;
        EXPECT_EQ(count, 0) << c.name;
        EXPECT_EQ(instances, nullptr) << c.name;
    }
}

TEST_F(SharedLibraryTest, WritesOneTraceLinePerCall) {
    useRepository(kThreeBioses);
    ScopedEnv trace("ULB_TRACE_LEVEL", "1");
    int count = 0;
    void* instances = nullptr;
    testing::internal::CaptureStdout();
    ASSERT_EQ(provider_.enumerateInstance(1001, &count, &instances), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    provider_.snmpFree(1001, instances);
    EXPECT_EQ(out.rfind("\n  [[TRACE:enum_inband:", 0), 0u) << out;
    const std::string message =
        "strtemp = wmi:localhost//user=,password=,namespace=root\\nvx4\\node";
    EXPECT_EQ(out.substr(out.size() - message.size()), message) << out;
    EXPECT_EQ(out.find("[[TRACE", 4), std::string::npos) << out;
}

TEST_F(SharedLibraryTest, SnmpFreeIgnoresUnknownClassesAndNull) {
    provider_.snmpFree(1001, nullptr);
    provider_.snmpFree(1046, nullptr);
    auto* kept = new SMBIOS_BIOS[1];
    provider_.snmpFree(1046, kept);  // an unknown class releases nothing
    kept[0].Version = "still usable";
    EXPECT_EQ(kept[0].Version, "still usable");
    delete[] kept;
}

}  // namespace
