// The Windows back end of the WMI driver suite: the machine's own service, Wine's in CI.
#include "WMITestService.h"

#include <windows.h>
#include <objbase.h>

struct WMITestService::State {};

namespace {

bool runningUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace

WMITestService::WMITestService() { CoInitialize(nullptr); }

WMITestService::~WMITestService() { CoUninitialize(); }

bool WMITestService::refusesUnknownClasses() { return !runningUnderWine(); }

int WMITestService::remoteFailure() {
    return static_cast<int>(runningUnderWine() ? 0x80041015 : 0x800706BA);
}

const char* WMITestService::remoteFailureName() {
    return runningUnderWine() ? "WBEM_E_TRANSPORT_FAILURE" : "UNKNOWM";
}
