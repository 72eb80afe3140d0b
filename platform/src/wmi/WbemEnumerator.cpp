#include "WbemEnumerator.h"

#include <algorithm>
#include <new>

#include "nvx4/platform/FaultInjection.h"

namespace nvx4::platform {

namespace {

// WBEM_INFINITE, or a wait in milliseconds; the data is always at hand, so nobody waits.
bool validTimeout(LONG timeout) {
    return timeout >= 0 || timeout == static_cast<LONG>(WBEM_INFINITE);
}

}  // namespace

WbemEnumerator::WbemEnumerator(InstancesPtr instances, WbemClassObject::OriginPtr origin,
                               bool forwardOnly)
    : ComObject(IID_IEnumWbemClassObject),
      instances_(std::move(instances)),
      origin_(std::move(origin)),
      forwardOnly_(forwardOnly) {}

HRESULT WbemEnumerator::Reset() {
    if (forwardOnly_) return WBEM_E_INVALID_OPERATION;
    std::lock_guard<std::mutex> lock(mutex_);
    position_ = 0;
    return WBEM_S_NO_ERROR;
}

HRESULT WbemEnumerator::Next(LONG lTimeout, ULONG uCount, IWbemClassObject** apObjects,
                             ULONG* puReturned) {
    if (apObjects == nullptr || puReturned == nullptr || !validTimeout(lTimeout))
        return WBEM_E_INVALID_PARAMETER;
    *puReturned = 0;
    if (std::optional<std::int32_t> fault = FaultInjection::fire(FaultPoint::Next)) return *fault;
    std::lock_guard<std::mutex> lock(mutex_);
    ULONG delivered = 0;
    while (delivered < uCount && position_ < instances_->size()) {
        // Positions count from 1, so that a test can name "the first instance".
        WbemClassObject* object = WbemClassObject::instance((*instances_)[position_], origin_,
                                                            static_cast<unsigned>(position_ + 1));
        if (object == nullptr) {
            if (delivered > 0) break;
            return WBEM_E_OUT_OF_MEMORY;
        }
        apObjects[delivered++] = object;
        ++position_;
    }
    *puReturned = delivered;
    return delivered == uCount ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
}

HRESULT WbemEnumerator::NextAsync(ULONG, IWbemObjectSink*) { return WBEM_E_NOT_SUPPORTED; }

HRESULT WbemEnumerator::Clone(IEnumWbemClassObject** ppEnum) {
    if (ppEnum == nullptr) return WBEM_E_INVALID_PARAMETER;
    *ppEnum = nullptr;
    if (forwardOnly_) return WBEM_E_INVALID_OPERATION;
    auto* copy = new (std::nothrow) WbemEnumerator(instances_, origin_, forwardOnly_);
    if (copy == nullptr) return WBEM_E_OUT_OF_MEMORY;
    std::lock_guard<std::mutex> lock(mutex_);
    copy->position_ = position_;
    *ppEnum = copy;
    return WBEM_S_NO_ERROR;
}

HRESULT WbemEnumerator::Skip(LONG lTimeout, ULONG nCount) {
    if (!validTimeout(lTimeout)) return WBEM_E_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t skipped = std::min<std::size_t>(nCount, instances_->size() - position_);
    position_ += skipped;
    return skipped == nCount ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
}

}  // namespace nvx4::platform
