// The stand-in back end of the WMI driver suite.
#include "WMITestService.h"

#include <objbase.h>
#include <wbemcli.h>

#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "nvx4/platform/ComObjects.h"
#include "nvx4/platform/NameService.h"
#include "nvx4/platform/StandInScope.h"
#include "nvx4/platform/ThreadTokens.h"
#include "nvx4/repository/Repository.h"

using namespace nvx4::platform;

namespace {

// The classes of a Windows machine's root\cimv2 that the shared cases read, with their CIM types,
// and the classes only the stand-in's cases use.
constexpr char kClasses[] = R"(
#pragma namespace("\\\\.\\root\\cimv2")
class Win32_OperatingSystem { string Caption; string CSName; sint16 CurrentTimeZone;
    uint16 OSType; boolean Primary; uint32 ProductType; uint64 TotalVisibleMemorySize; };
instance of Win32_OperatingSystem { Caption = "Stand-in"; CSName = "NODE7"; CurrentTimeZone = 60;
    OSType = 18; Primary = TRUE; ProductType = 3; TotalVisibleMemorySize = 16777216; };
class Win32_BIOS { string Manufacturer; uint8 SystemBiosMajorVersion; };
instance of Win32_BIOS { Manufacturer = "nvx4"; SystemBiosMajorVersion = 255; };
class Win32_LogicalDisk { [key] string DeviceID; string Name; uint32 DriveType; uint64 Size; };
instance of Win32_LogicalDisk { DeviceID = "C:"; Name = "C:"; DriveType = 3; Size = 82252800000; };
instance of Win32_LogicalDisk { DeviceID = "Z:"; Name = "Z:"; DriveType = 3; };
class Win32_NetworkAdapterConfiguration { [key] uint32 Index; string Description;
    string DNSHostName; string DefaultIPGateway[]; };
instance of Win32_NetworkAdapterConfiguration { Index = 1; Description = "lo"; };

class NVX4_Test_Row { [key] sint32 Id; string Name; uint8 Small; sint16 Short; uint32 Count;
    sint64 Big; uint64 Huge; real32 Ratio; real64 Value; boolean Flag; string Tags[]; };
class NVX4_Test_Empty { [key] sint32 Id; };
instance of NVX4_Test_Row { Id = 1; Name = "first"; Small = 200; Short = -5; Count = 4000000000;
    Big = -9000000000; Huge = 18446744073709551615; Ratio = 0.5; Value = 2.25; Flag = TRUE;
    Tags = {"short", "longer than seven"}; };
instance of NVX4_Test_Row { Id = 2; };
instance of NVX4_Test_Row { Id = 3; Name = "third"; };
class NVX4_Test_Switch { [key] string Name; sint32 Level;
    uint32 Configure([in] sint32 Level, [in] boolean On, [in] boolean Flags[], [in] sint16 Small,
                     [in] sint16 Smalls[], [in] sint32 Levels[], [in] string Label,
                     [in] string Labels[], [out] string Summary);
    void Ping();
};
instance of NVX4_Test_Switch { Name = "sw1"; Level = 1; };
)";

}  // namespace

struct WMITestService::State {
    nvx4::test::TempPath source{"classes.mof"};
    nvx4::test::ScopedEnv sources{nvx4::repository::kRepositoryVariable, source.path()};
    StandInScope scope;
    long objectsAtStart = ComObjects::live();
    std::size_t tokensAtStart = ThreadTokens::openHandles();
};

WMITestService::WMITestService() : state_(std::make_unique<State>()) {
    std::ofstream(state_->source.path()) << kClasses;
    NameService::useTable("node7.example", {});
    CoInitialize(nullptr);
}

WMITestService::~WMITestService() {
    CoUninitialize();
    NameService::useSystem();
    // A reference the driver did not release keeps its object alive: this fails a plain build,
    // not only one under the leak checker.
    EXPECT_EQ(ComObjects::live(), state_->objectsAtStart) << "COM objects left alive";
    EXPECT_EQ(ThreadTokens::openHandles(), state_->tokensAtStart) << "token handles left open";
}

bool WMITestService::refusesUnknownClasses() { return true; }

int WMITestService::remoteFailure() { return static_cast<int>(WBEM_E_TRANSPORT_FAILURE); }

const char* WMITestService::remoteFailureName() { return "WBEM_E_TRANSPORT_FAILURE"; }
