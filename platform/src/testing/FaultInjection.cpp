#include "nvx4/platform/FaultInjection.h"

#include <mutex>
#include <vector>

#include "nvx4/repository/Names.h"

namespace nvx4::platform {

namespace {

struct Armed {
    Fault fault;
    unsigned matched = 0;
    bool spent = false;
};

std::mutex faultsMutex;
std::vector<Armed> faults;
unsigned firings = 0;

bool matches(const Fault& fault, FaultPoint point, std::wstring_view property, unsigned instance) {
    if (fault.point != point) return false;
    if (!fault.property.empty() && !repository::Names::same(fault.property, property)) return false;
    return fault.instance == 0 || fault.instance == instance;
}

}  // namespace

Fault Fault::at(FaultPoint point, std::int32_t result, unsigned step) {
    Fault fault;
    fault.point = point;
    fault.result = result;
    fault.step = step;
    return fault;
}

Fault Fault::onGet(std::wstring property, unsigned instance, std::int32_t result) {
    Fault fault = at(FaultPoint::Get, result);
    fault.property = std::move(property);
    fault.instance = instance;
    return fault;
}

void FaultInjection::inject(Fault fault) {
    std::lock_guard<std::mutex> lock(faultsMutex);
    faults.push_back(Armed{std::move(fault)});
    // Lets every call skip the lock while no fault is armed.
    armed_.store(true, std::memory_order_release);
}

void FaultInjection::clear() {
    std::lock_guard<std::mutex> lock(faultsMutex);
    faults.clear();
    firings = 0;
    armed_.store(false, std::memory_order_release);
}

unsigned FaultInjection::fired() {
    std::lock_guard<std::mutex> lock(faultsMutex);
    return firings;
}

std::optional<std::int32_t> FaultInjection::fireArmed(FaultPoint point, std::wstring_view property,
                                                      unsigned instance) {
    std::lock_guard<std::mutex> lock(faultsMutex);
    std::optional<std::int32_t> result;
    for (Armed& armed : faults) {
        if (armed.spent || !matches(armed.fault, point, property, instance)) continue;
        ++armed.matched;
        if (armed.matched < armed.fault.step) continue;
        if (!armed.fault.repeat) armed.spent = true;
        ++firings;
        if (!result) result = armed.fault.result;
    }
    return result;
}

}  // namespace nvx4::platform
