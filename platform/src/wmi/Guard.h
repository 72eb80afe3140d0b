// Keeps exceptions inside the platform's COM methods: a method that runs out of memory returns
// WBEM_E_OUT_OF_MEMORY, as the service does, instead of throwing into its caller.
#ifndef NVX4_PLATFORM_GUARD_H
#define NVX4_PLATFORM_GUARD_H

#include <wbemcli.h>

#include <new>

namespace nvx4::platform {

template <typename Body>
HRESULT guarded(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return WBEM_E_OUT_OF_MEMORY;
    }
}

}  // namespace nvx4::platform

#endif
