// enumerateInstance in-process over the stand-in repository, with faults injected at each step of
// the way: the exact result reaches the caller, with no array and nothing leaked.
#include <gtest/gtest.h>

#include <objbase.h>
#include <wbemidl.h>

#include <thread>

#include "EnumerationCall.h"
#include "TestSupport.h"
#include "nvx4/Provider.h"
#include "nvx4/Records.h"
#include "nvx4/platform/StandInScope.h"

namespace {

using nvx4::platform::Fault;
using nvx4::platform::FaultInjection;
using nvx4::platform::FaultPoint;
using nvx4::repository::Repository;

constexpr int kReadFailure = NVX4_RESULT_READ_FAILURE;

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
    nvx4::platform::StandInScope scope_;
};

const nvx4::test::LinkedEntryPoints kProvider{enumerateInstance, snmpFree};

// The WMI driver's suite injects a fault at every call; here one of each way the provider passes
// a failure on: a status unchanged, the library's own code, and a row that cannot be read.
TEST_F(EnumerateInstanceFaultTest, EachFailureReachesTheCallerWithoutAnArray) {
    const nvx4::test::ScopedEnv waitLimit("NVX4_WMI_WAIT_MS", "50");
    const struct {
        const char* name;
        Fault fault;
        int result;
    } cases[] = {
        {"connect", Fault::at(FaultPoint::Connect, WBEM_E_ACCESS_DENIED), hr(WBEM_E_ACCESS_DENIED)},
        {"impersonation", Fault::at(FaultPoint::ImpersonateSelf, 5), 0x22000FF5},
        // The result set peeks with the first Next; the third delivers the second row.
        {"next mid-walk", Fault::at(FaultPoint::Next, WBEM_E_FAILED, 3), kReadFailure},
        {"property of row 2", Fault::onGet(L"Version", 2, WBEM_E_NOT_FOUND), kReadFailure},
        // An instance that never arrives (late from that step on) fails the whole enumeration
        // once the wait limit has passed, whether it is the first or a later one.
        {"never: first", Fault{FaultPoint::Next, WBEM_S_TIMEDOUT, 1, true, L"", 0}, kReadFailure},
        {"never: later", Fault{FaultPoint::Next, WBEM_S_TIMEDOUT, 4, true, L"", 0}, kReadFailure},
    };
    for (const auto& c : cases) {
        FaultInjection::clear();
        FaultInjection::inject(c.fault);
        const nvx4::test::EnumerationCall call(kProvider, 1001);
        EXPECT_EQ(call.result, c.result) << c.name;
        EXPECT_EQ(call.count, 0) << c.name;
        EXPECT_EQ(call.instances, nullptr) << c.name;
    }
}

// A late instance (WBEM_S_TIMEDOUT) is asked for again: three times before the first row and
// twice before the second, and still every row arrives.
TEST_F(EnumerateInstanceFaultTest, LateInstancesAreWaitedFor) {
    for (unsigned step : {1, 2, 3, 6, 7})
        FaultInjection::inject(Fault::at(FaultPoint::Next, WBEM_S_TIMEDOUT, step));
    const nvx4::test::EnumerationCall call(kProvider, 1001);
    ASSERT_EQ(call.result, 0);
    ASSERT_EQ(call.count, 3);
    EXPECT_EQ(call.records<SMBIOS_BIOS>()[2].Handle, 3);
}

// The agent's own COM initialisation of the thread outlives the call, whichever apartment it
// chose: a thread in the multithreaded apartment makes our CoInitialize fail with
// RPC_E_CHANGED_MODE, and that must not be undone, nor may a call uninitialise once too often.
TEST_F(EnumerateInstanceFaultTest, LeavesTheCallersApartmentAsItWas) {
    for (const DWORD model : {COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED}) {
        std::thread([model] {
            ASSERT_EQ(CoInitializeEx(nullptr, model), S_OK);
            EXPECT_EQ(nvx4::test::EnumerationCall(kProvider, 1001).result, 0) << model;
            EXPECT_EQ(CoInitializeEx(nullptr, model), S_FALSE) << model;
            CoUninitialize();
            CoUninitialize();
        }).join();
    }
}

}  // namespace
