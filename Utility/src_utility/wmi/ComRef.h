// Owns one reference to a COM object and releases it when it goes, so that every way out of a
// function, returned or thrown, gives back exactly the references it took. Move-only: a second
// reference is taken on purpose, with share().
#ifndef COMREF_H
#define COMREF_H

#include <windows.h>
#include <objbase.h>

#include "OwnedHandle.h"

struct ComRelease {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};

template <class Interface>
class ComRef : public OwnedHandle<Interface*, ComRelease> {
  public:
    using OwnedHandle<Interface*, ComRelease>::OwnedHandle;

    // A reference of its own to an object the caller keeps holding.
    static ComRef share(Interface* object) noexcept {
        if (object != nullptr) object->AddRef();
        return ComRef(object);
    }

    Interface* operator->() const noexcept { return this->get(); }
    // put() for the calls that take an untyped out-parameter.
    void** putVoid() noexcept { return reinterpret_cast<void**>(this->put()); }
};

#endif
