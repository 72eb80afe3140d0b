// Faults for tests: make a chosen call of the platform's management and security interfaces fail
// with a chosen result, at a chosen step. Faults are process-wide; each counts the calls that
// match it from the moment it is injected.
//
//   FaultInjection::inject(Fault::at(FaultPoint::Next, WBEM_E_FAILED, 3));    // the 3rd Next
//   FaultInjection::inject(Fault::onGet(L"Version", 2, WBEM_E_FAILED));       // Get("Version")
//                                                                              // on instance 2
//   FaultInjection::inject(Fault::at(FaultPoint::ImpersonateSelf, ERROR_ACCESS_DENIED));
//
// A call that a fault fails does nothing else: no object, no output. Calls that return BOOL
// (ImpersonateSelf, OpenThreadToken, GetTokenInformation, AdjustTokenPrivileges) return FALSE and
// the fault's result becomes the thread's last error. A Next failed with a success code (such as
// WBEM_S_TIMEDOUT) returns that code and no object. An allocation failed by AllocString or
// AllocArray returns null, as when memory runs out (the result is not used):
//
//   FaultInjection::inject(Fault::at(FaultPoint::AllocString, 0, 4));    // the 4th new BSTR
#ifndef NVX4_PLATFORM_FAULTINJECTION_H
#define NVX4_PLATFORM_FAULTINJECTION_H

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nvx4::platform {

enum class FaultPoint {
    Connect,           // IWbemLocator::ConnectServer
    CreateEnumerator,  // IWbemServices::CreateInstanceEnum
    Next,              // IEnumWbemClassObject::Next
    Get,               // IWbemClassObject::Get
    GetNames,          // IWbemClassObject::GetNames
    Put,               // IWbemClassObject::Put
    GetObject,         // IWbemServices::GetObject
    ExecMethod,        // IWbemServices::ExecMethod
    PutInstance,       // IWbemServices::PutInstance
    DeleteInstance,    // IWbemServices::DeleteInstance
    ProxyBlanket,      // CoSetProxyBlanket
    ImpersonateSelf,
    OpenThreadToken,
    GetTokenInformation,
    AdjustTokenPrivileges,
    AllocString,  // every BSTR allocation (SysAllocString and its relatives)
    AllocArray,   // every SAFEARRAY allocation (SafeArrayCreate and SafeArrayCreateVector)
};

struct Fault {
    FaultPoint point = FaultPoint::Connect;
    std::int32_t result = 0;
    // Fires on the step-th matching call (1: the next one).
    unsigned step = 1;
    // With `repeat`, keeps firing on every matching call after that step too.
    bool repeat = false;
    // Get only: the property (any when empty), compared without regard to case.
    std::wstring property;
    // Get only: the object's 1-based position in the enumeration that delivered it (any when
    // 0). Objects that no enumeration delivered have position 0.
    unsigned instance = 0;

    static Fault at(FaultPoint point, std::int32_t result, unsigned step = 1);
    static Fault onGet(std::wstring property, unsigned instance, std::int32_t result);
};

class FaultInjection {
  public:
    static void inject(Fault fault);
    static void clear();
    // How often the faults injected since the last clear() have fired.
    static unsigned fired();

    // Whether any fault is armed: one load, so that calls cost nothing more while none is.
    static bool armed() { return armed_.load(std::memory_order_acquire); }

    // For the platform: the result to fail this call with, if a fault fires on it.
    static std::optional<std::int32_t> fire(FaultPoint point, std::wstring_view property = {},
                                            unsigned instance = 0) {
        if (!armed()) return std::nullopt;
        return fireArmed(point, property, instance);
    }

  private:
    static std::optional<std::int32_t> fireArmed(FaultPoint point, std::wstring_view property,
                                                 unsigned instance);

    static inline std::atomic<bool> armed_{false};
};

}  // namespace nvx4::platform

#endif
