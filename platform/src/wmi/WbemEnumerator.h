// An enumerator over a snapshot of a class's instances. A forward-only enumerator can neither be
// reset nor cloned, as the service's cannot.
#ifndef NVX4_PLATFORM_WBEMENUMERATOR_H
#define NVX4_PLATFORM_WBEMENUMERATOR_H

#include <wbemcli.h>

#include <memory>
#include <mutex>

#include "../com/ComObject.h"
#include "WbemClassObject.h"
#include "nvx4/repository/Namespace.h"

namespace nvx4::platform {

class WbemEnumerator : public ComObject<IEnumWbemClassObject> {
  public:
    using InstancesPtr = std::shared_ptr<const repository::Namespace::InstanceList>;

    WbemEnumerator(InstancesPtr instances, WbemClassObject::OriginPtr origin, bool forwardOnly);

    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount, IWbemClassObject** apObjects,
                                   ULONG* puReturned) override;
    HRESULT STDMETHODCALLTYPE NextAsync(ULONG uCount, IWbemObjectSink* pSink) override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE Skip(LONG lTimeout, ULONG nCount) override;

  private:
    InstancesPtr instances_;
    WbemClassObject::OriginPtr origin_;
    bool forwardOnly_;
    std::mutex mutex_;
    std::size_t position_ = 0;
};

}  // namespace nvx4::platform

#endif
