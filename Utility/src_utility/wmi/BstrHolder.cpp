#include "BstrHolder.h"

#include "WMIException.h"
#include "WMIText.h"

BstrHolder::BstrHolder(const std::string& text) : OwnedHandle(toBstr(text)) {
    if (!*this) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
}

BstrHolder BstrHolder::copyOf(BSTR text) {
    if (text == nullptr) return BstrHolder();
    BstrHolder copy(SysAllocStringLen(text, SysStringLen(text)));
    if (!copy) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    return copy;
}
