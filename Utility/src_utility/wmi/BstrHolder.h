// Owns one BSTR and frees it when it goes. Move-only: a copy of the text is made on purpose, with
// copyOf().
#ifndef BSTRHOLDER_H
#define BSTRHOLDER_H

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "OwnedHandle.h"

struct BstrRelease {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};

class BstrHolder : public OwnedHandle<BSTR, BstrRelease> {
  public:
    using OwnedHandle::OwnedHandle;
    // A new BSTR converted from narrow text in the ANSI code page. Raises WMIException
    // E_OUTOFMEMORY when the string cannot be allocated.
    explicit BstrHolder(const std::string& text);

    // A private copy of `text`, embedded NULs included; null for null. Raises WMIException
    // E_OUTOFMEMORY when it cannot be allocated.
    static BstrHolder copyOf(BSTR text);
};

#endif
