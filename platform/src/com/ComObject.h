// The IUnknown part of the platform's COM objects: an atomic reference count that starts at one
// (the creator's reference) and deletes the object when its last reference goes, and
// QueryInterface for IUnknown and the object's one interface. Every object counts itself in
// liveComObjects while it exists, so that tests can tell a reference nobody released.
#ifndef NVX4_PLATFORM_COMOBJECT_H
#define NVX4_PLATFORM_COMOBJECT_H

#include <objbase.h>

#include <atomic>

namespace nvx4::platform {

inline std::atomic<long> liveComObjects{0};

template <typename Interface>
class ComObject : public Interface {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == interfaceId_) {
            *ppvObject = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG remaining = --references_;
        if (remaining == 0) delete this;
        return remaining;
    }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

  protected:
    explicit ComObject(REFIID interfaceId) : interfaceId_(interfaceId) { ++liveComObjects; }
    virtual ~ComObject() { --liveComObjects; }

  private:
    const IID& interfaceId_;
    std::atomic<ULONG> references_{1};
};

}  // namespace nvx4::platform

#endif
