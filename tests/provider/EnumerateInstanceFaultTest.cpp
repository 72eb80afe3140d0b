// enumerateInstance in-process over the stand-in repository, with faults injected at each step of
// the way: the exact result reaches the caller, with no array and nothing leaked.
#include <gtest/gtest.h>

#include <wbemidl.h>

#include <optional>

#include "TestSupport.h"
#include "nvx4/Provider.h"
#include "nvx4/Records.h"
#include "nvx4/repository/RegistrationScope.h"

namespace {

using nvx4::repository::Fault;
using nvx4::repository::FaultInjection;
using nvx4::repository::FaultPoint;
using nvx4::repository::Repository;

constexpr int kReadFailure = -10;

// Result codes as the signed integers the caller receives.
constexpr int hr(unsigned code) { return static_cast<int>(code); }

const char kThreeBioses[] = R"(
instance of NVX4_SMBIOS_BIOS { Handle = 1; Version = "a"; ReleaseDate = "d1"; Manufacturer = "m"; };
instance of NVX4_SMBIOS_BIOS { Handle = 2; Version = "b"; ReleaseDate = "d2"; Manufacturer = "m"; };
instance of NVX4_SMBIOS_BIOS { Handle = 3; Version = "c"; ReleaseDate = "d3"; Manufacturer = "m"; };
)";

class EnumerateInstanceFaultTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(Repository::addMof(kThreeBioses).has_value()); }

    nvx4::test::ScopedEnv onlySchema_{"NVX4_REPOSITORY", std::string()};
    nvx4::repository::RegistrationScope scope_;
};

struct FaultCase {
    const char* name;
    Fault fault;
    int result;
};

TEST_F(EnumerateInstanceFaultTest, EachFailureReachesTheCallerWithoutAnArray) {
    const FaultCase cases[] = {
        {"connect", Fault::at(FaultPoint::Connect, WBEM_E_ACCESS_DENIED), hr(WBEM_E_ACCESS_DENIED)},
        {"create enumerator", Fault::at(FaultPoint::CreateEnumerator, WBEM_E_INVALID_CLASS),
         hr(WBEM_E_INVALID_CLASS)},
        {"proxy blanket", Fault::at(FaultPoint::ProxyBlanket, E_ACCESSDENIED), hr(E_ACCESSDENIED)},
        {"impersonation", Fault::at(FaultPoint::ImpersonateSelf, 5), 0x22000FF5},
        {"thread token", Fault::at(FaultPoint::OpenThreadToken, 5), hr(WBEM_E_ACCESS_DENIED)},
        // The result set peeks with the first Next; the third delivers the second row.
        {"next mid-walk", Fault::at(FaultPoint::Next, WBEM_E_FAILED, 3), kReadFailure},
        {"property of row 2", Fault::onGet(L"Version", 2, WBEM_E_NOT_FOUND), kReadFailure},
        {"property names", Fault::at(FaultPoint::GetNames, WBEM_E_FAILED), hr(WBEM_E_FAILED)},
    };
    for (const FaultCase& c : cases) {
        FaultInjection::clear();
        FaultInjection::inject(c.fault);
        int count = 99;
        void* instances = &count;
        EXPECT_EQ(enumerateInstance(1001, &count, &instances), c.result) << c.name;
        EXPECT_EQ(count, 0) << c.name;
        EXPECT_EQ(instances, nullptr) << c.name;
    }
}

TEST_F(EnumerateInstanceFaultTest, ATimeoutEndsTheWalkWithTheRowsSoFar) {
    FaultInjection::inject(Fault::at(FaultPoint::Next, WBEM_S_TIMEDOUT, 3));
    int count = 0;
    void* instances = nullptr;
    ASSERT_EQ(enumerateInstance(1001, &count, &instances), 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(static_cast<SMBIOS_BIOS*>(instances)[0].Handle, 1);
    snmpFree(1001, instances);
}

TEST_F(EnumerateInstanceFaultTest, ATypeMismatchFailsTheRead) {
    ASSERT_FALSE(Repository::addMof("class NVX4_SMBIOS_BIOS { [key] string Handle; string Version; "
                                    "string ReleaseDate; string Manufacturer; };\n"
                                    "instance of NVX4_SMBIOS_BIOS { Handle = \"7\"; };")
                     .has_value());
    int count = 99;
    void* instances = &count;
    EXPECT_EQ(enumerateInstance(1001, &count, &instances), kReadFailure);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(instances, nullptr);
}

}  // namespace
