// Thread impersonation and token privileges. ImpersonateSelf gives the calling thread a fresh
// copy of the process token (the privileges of a standard user, of which only
// SeChangeNotifyPrivilege is enabled); RevertToSelf drops it. Tokens are state of this process
// only: no real privilege changes.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <optional>

#include "TokenTable.h"
#include "nvx4/platform/FaultInjection.h"

using nvx4::platform::FaultInjection;
using nvx4::platform::FaultPoint;
using nvx4::platform::PrivilegeSet;
using nvx4::platform::TokenHandle;
using nvx4::platform::TokenTable;

namespace {

thread_local std::shared_ptr<PrivilegeSet> impersonation;

// SeShutdown, SeChangeNotify, SeUndock, SeIncreaseWorkingSet and SeTimeZone, by their LUIDs.
std::shared_ptr<PrivilegeSet> processToken() {
    auto token = std::make_shared<PrivilegeSet>();
    const DWORD changeNotify = SE_PRIVILEGE_ENABLED | SE_PRIVILEGE_ENABLED_BY_DEFAULT;
    token->privileges = {
        {{19, 0}, 0}, {{23, 0}, changeNotify}, {{25, 0}, 0}, {{33, 0}, 0}, {{34, 0}, 0}};
    return token;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Fails the call when a test injected a fault for it.
bool faulted(FaultPoint point) {
    std::optional<std::int32_t> fault = FaultInjection::fire(point);
    if (!fault) return false;
    SetLastError(static_cast<DWORD>(*fault));
    return true;
}

DWORD privilegesSize(std::size_t count) {
    return static_cast<DWORD>(offsetof(TOKEN_PRIVILEGES, Privileges) +
                              count * sizeof(LUID_AND_ATTRIBUTES));
}

void writePrivileges(const PrivilegeSet& token, PTOKEN_PRIVILEGES out) {
    out->PrivilegeCount = static_cast<DWORD>(token.privileges.size());
    if (!token.privileges.empty())
        std::memcpy(out->Privileges, token.privileges.data(),
                    token.privileges.size() * sizeof(LUID_AND_ATTRIBUTES));
}

LUID_AND_ATTRIBUTES* findPrivilege(PrivilegeSet& token, const LUID& luid) {
    for (LUID_AND_ATTRIBUTES& held : token.privileges)
        if (held.Luid.LowPart == luid.LowPart && held.Luid.HighPart == luid.HighPart) return &held;
    return nullptr;
}

// Applies one requested change; false when the token does not hold the privilege.
bool adjust(PrivilegeSet& token, const LUID_AND_ATTRIBUTES& request) {
    LUID_AND_ATTRIBUTES* held = findPrivilege(token, request.Luid);
    if (held == nullptr) return false;
    if (request.Attributes & SE_PRIVILEGE_REMOVED) {
        token.privileges.erase(token.privileges.begin() + (held - token.privileges.data()));
    } else if (request.Attributes & SE_PRIVILEGE_ENABLED) {
        held->Attributes |= SE_PRIVILEGE_ENABLED;
    } else {
        held->Attributes &= ~static_cast<DWORD>(SE_PRIVILEGE_ENABLED);
    }
    return true;
}

}  // namespace

BOOL ImpersonateSelf(SECURITY_IMPERSONATION_LEVEL ImpersonationLevel) {
    const int level = static_cast<int>(ImpersonationLevel);
    if (level < SecurityAnonymous || level > SecurityDelegation)
        return fail(ERROR_INVALID_PARAMETER);
    if (level == SecurityAnonymous) return fail(ERROR_CANT_OPEN_ANONYMOUS);
    if (faulted(FaultPoint::ImpersonateSelf)) return FALSE;
    impersonation = processToken();
    return TRUE;
}

BOOL RevertToSelf(void) {
    impersonation.reset();
    return TRUE;
}

BOOL OpenThreadToken(HANDLE ThreadHandle, DWORD DesiredAccess, BOOL OpenAsSelf,
                     PHANDLE TokenHandle) {
    (void)OpenAsSelf;
    if (TokenHandle == nullptr) return fail(ERROR_NOACCESS);
    *TokenHandle = nullptr;
    if (ThreadHandle != GetCurrentThread()) return fail(ERROR_INVALID_HANDLE);
    if (faulted(FaultPoint::OpenThreadToken)) return FALSE;
    if (!impersonation) return fail(ERROR_NO_TOKEN);
    *TokenHandle = TokenTable::open(impersonation, DesiredAccess);
    return TRUE;
}

BOOL GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass,
                         LPVOID TokenInformation, DWORD TokenInformationLength,
                         PDWORD ReturnLength) {
    std::shared_ptr<::nvx4::platform::TokenHandle> handle = TokenTable::find(TokenHandle);
    if (!handle) return fail(ERROR_INVALID_HANDLE);
    if (!(handle->access & TOKEN_QUERY)) return fail(ERROR_ACCESS_DENIED);
    if (ReturnLength == nullptr) return fail(ERROR_NOACCESS);
    if (TokenInformationClass != TokenPrivileges) return fail(ERROR_INVALID_PARAMETER);
    if (faulted(FaultPoint::GetTokenInformation)) return FALSE;
    const DWORD needed = privilegesSize(handle->token->privileges.size());
    *ReturnLength = needed;
    if (TokenInformationLength < needed) return fail(ERROR_INSUFFICIENT_BUFFER);
    if (TokenInformation == nullptr) return fail(ERROR_NOACCESS);
    writePrivileges(*handle->token, static_cast<PTOKEN_PRIVILEGES>(TokenInformation));
    return TRUE;
}

BOOL AdjustTokenPrivileges(HANDLE TokenHandle, BOOL DisableAllPrivileges,
                           PTOKEN_PRIVILEGES NewState, DWORD BufferLength,
                           PTOKEN_PRIVILEGES PreviousState, PDWORD ReturnLength) {
    std::shared_ptr<::nvx4::platform::TokenHandle> handle = TokenTable::find(TokenHandle);
    if (!handle) return fail(ERROR_INVALID_HANDLE);
    if (!(handle->access & TOKEN_ADJUST_PRIVILEGES)) return fail(ERROR_ACCESS_DENIED);
    if (!DisableAllPrivileges && NewState == nullptr) return fail(ERROR_INVALID_PARAMETER);
    PrivilegeSet& token = *handle->token;
    if (PreviousState != nullptr) {
        if (!(handle->access & TOKEN_QUERY)) return fail(ERROR_ACCESS_DENIED);
        if (ReturnLength == nullptr) return fail(ERROR_NOACCESS);
        *ReturnLength = privilegesSize(token.privileges.size());
        if (BufferLength < *ReturnLength) return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (faulted(FaultPoint::AdjustTokenPrivileges)) return FALSE;
    if (PreviousState != nullptr) writePrivileges(token, PreviousState);
    if (DisableAllPrivileges) {
        for (LUID_AND_ATTRIBUTES& held : token.privileges)
            held.Attributes &= ~static_cast<DWORD>(SE_PRIVILEGE_ENABLED);
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    bool allAssigned = true;
    for (DWORD i = 0; i < NewState->PrivilegeCount; ++i)
        allAssigned = adjust(token, NewState->Privileges[i]) && allAssigned;
    // As on Windows, success even when not every privilege was held, told by the last error.
    SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}
