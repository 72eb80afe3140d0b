// CloseHandle and the current thread's pseudo handle.
#include <windows.h>

#include "TokenTable.h"
#include "nvx4/platform/ThreadTokens.h"

namespace {

const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));

}  // namespace

HANDLE GetCurrentThread(void) { return kCurrentThread; }

BOOL CloseHandle(HANDLE hObject) {
    // Closing a pseudo handle does nothing and succeeds.
    if (hObject == kCurrentThread) return TRUE;
    if (nvx4::platform::TokenTable::close(hObject)) return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

namespace nvx4::platform {

std::size_t ThreadTokens::openHandles() { return TokenTable::openCount(); }

}  // namespace nvx4::platform
