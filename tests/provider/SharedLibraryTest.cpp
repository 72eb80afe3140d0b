// The built provider library loaded with dlopen, as an SNMP agent loads it, over fixture
// repositories given through NVX4_REPOSITORY.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>
#include <set>

#include "AllocationFailure.h"
#include "EnumerationCall.h"
#include "ProviderLibrary.h"
#include "TestSupport.h"
#include "nvx4/Records.h"

namespace {

using nvx4::test::EnumerationCall;
using nvx4::test::ScopedEnv;
using nvx4::test::TempPath;

class SharedLibraryTest : public ::testing::Test {
  protected:
    void useRepository(const std::string& text) {
        std::ofstream(fixture_.path()) << text;
        repository_.emplace("NVX4_REPOSITORY", fixture_.path());
    }

    const nvx4::client::ProviderLibrary provider_{NVX4_PROVIDER_LIBRARY};
    TempPath fixture_{"fixture.mof"};
    std::optional<ScopedEnv> repository_;
};

// Texts too long to be kept inside the string objects, so that each one copied allocates.
const char kLongTexts[] = R"(
instance of NVX4_SMBIOS_BIOS { Handle = 1; Version = "version one, long enough"; ReleaseDate = "released on the first day"; Manufacturer = "first manufacturer inc."; };
instance of NVX4_SMBIOS_BIOS { Handle = 2; Version = "version two, long enough"; ReleaseDate = "released on the second day"; Manufacturer = "second manufacturer inc."; };
)";

// A class without instances gives no array. Failures give none either: the out-of-memory sweep
// below and the in-process fault tests show it.
TEST_F(SharedLibraryTest, EmptyOrFailedEnumerationsGiveNoArray) {
    useRepository("// no instances\n");
    const EnumerationCall call(provider_, 1001);
    EXPECT_EQ(call.result, 0);
    EXPECT_EQ(call.count, 0);
    EXPECT_EQ(call.instances, nullptr);
}

// A header with the file's base name, the line and the time, then the message without a line end.
TEST_F(SharedLibraryTest, WritesOneTraceLinePerCall) {
    useRepository(kLongTexts);
    ScopedEnv trace("ULB_TRACE_LEVEL", "1");
    testing::internal::CaptureStdout();
    const EnumerationCall call(provider_, 1001);
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(call.result, 0);
    const std::regex expected(
        "\n  \\[\\[TRACE:enum_inband:[0-9]+ "
        "(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "[ 123][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\n"
        "strtemp = wmi:localhost//user=,password=,namespace=root\\\\nvx4\\\\node");
    EXPECT_TRUE(std::regex_match(out, expected)) << out;
}

// An unknown class, or no place for the result: nothing is enumerated and nothing is written. An
// unknown class reads as unknown even without out parameters.
TEST_F(SharedLibraryTest, MissingOutParametersFailWithoutAWrite) {
    useRepository(kLongTexts);
    int count = 77;
    void* instances = &count;
    const struct {
        int classId;
        int* count;
        void** instances;
        int result;
    } cases[] = {
        {1001, nullptr, &instances, -10}, {1001, &count, nullptr, -10},
        {1045, nullptr, nullptr, -10},    {1046, nullptr, nullptr, -1},
        {1000, &count, &instances, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(provider_.enumerateInstance(c.classId, c.count, c.instances), c.result)
            << c.classId;
        EXPECT_EQ(count, 77);
        EXPECT_EQ(instances, &count);
    }
}

// Each allocation of an enumeration fails in turn, through the library as the agent loads it: the
// call either succeeds with the whole table or fails with no array, and nothing it allocated is
// left behind. Each step runs twice and the second run is measured, since the first may set up
// state that lives for the whole process (such as what an exception's first throw prepares).
TEST_F(SharedLibraryTest, RunningOutOfMemoryAnywhereFailsCleanly) {
    using nvx4::test::AllocationFailure;
    useRepository(kLongTexts);
    std::set<int> failures;
    for (unsigned long step = 0;; ++step) {
        SCOPED_TRACE(step);
        for (int run = 0; run < 2; ++run) {
            const long live = AllocationFailure::liveBlocks();
            {
                AllocationFailure::failAt(step);
                const EnumerationCall call(provider_, 1001);
                AllocationFailure::disarm();
                if (call.result == 0) {
                    ASSERT_EQ(call.count, 2);
                    EXPECT_EQ(call.records<SMBIOS_BIOS>()[1].Handle, 2);
                    EXPECT_EQ(call.records<SMBIOS_BIOS>()[1].Manufacturer,
                              "second manufacturer inc.");
                } else {
                    EXPECT_EQ(call.count, 0);
                    EXPECT_EQ(call.instances, nullptr);
                    failures.insert(call.result);
                }
            }
            if (run == 1) {
                EXPECT_EQ(AllocationFailure::liveBlocks() - live, 0);
            }
        }
        if (step > 0 && !AllocationFailure::fired()) break;
    }
    // Among them the result array itself (-1) and the driver's connection object (-10).
    EXPECT_EQ(failures.count(-1), 1u);
    EXPECT_EQ(failures.count(-10), 1u);
}

TEST_F(SharedLibraryTest, SnmpFreeIgnoresUnknownClassesAndNull) {
    provider_.snmpFree(1001, nullptr);
    const std::unique_ptr<SMBIOS_BIOS[]> kept(new SMBIOS_BIOS[1]);
    provider_.snmpFree(1046, kept.get());  // an unknown class releases nothing
    kept[0].Version = "still usable";
    EXPECT_EQ(kept[0].Version, "still usable");
}

}  // namespace
