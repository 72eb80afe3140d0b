#include "WMISecurity.h"

#include <wbemcli.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <new>

#include "ErrorCodes.h"
#include "WMIException.h"

namespace {

// The prefix that marks an authority as a domain name, compared without regard to case.
constexpr wchar_t kDomainPrefix[] = L"NTLMDOMAIN:";
constexpr size_t kDomainPrefixLength = 11;
// Domains and narrow identity strings are limited to this many characters, terminator included.
constexpr size_t kNameCapacity = 260;

constexpr HRESULT kAccessDenied = static_cast<HRESULT>(WBEM_E_ACCESS_DENIED);
constexpr HRESULT kOutOfMemory = static_cast<HRESULT>(WBEM_E_OUT_OF_MEMORY);

bool isEmpty(const wchar_t* text) { return text == nullptr || *text == L'\0'; }

bool hasDomainPrefix(const wchar_t* text) {
    for (size_t i = 0; i < kDomainPrefixLength; ++i) {
        if (text[i] == L'\0' || std::towupper(text[i]) != static_cast<wint_t>(kDomainPrefix[i]))
            return false;
    }
    return true;
}

// A copy of `length` characters of `text` in `copy`; a null text leaves `copy` empty.
HRESULT copyText(const wchar_t* text, size_t length, BstrHolder& copy) {
    if (text == nullptr) return S_OK;
    copy.reset(SysAllocStringLen(text, static_cast<UINT>(length)));
    return copy ? S_OK : E_OUTOFMEMORY;
}

ULONG wideLength(const wchar_t* text) {
    return text == nullptr ? 0 : static_cast<ULONG>(std::wcslen(text));
}

// Converts into a buffer of kNameCapacity bytes; text that does not convert becomes empty.
ULONG toAnsi(const wchar_t* text, char* buffer) {
    buffer[0] = '\0';
    if (text == nullptr) return 0;
    size_t length = std::wcstombs(buffer, text, kNameCapacity - 1);
    if (length == static_cast<size_t>(-1)) length = 0;
    buffer[length] = '\0';
    return static_cast<ULONG>(length);
}

bool queryVersion(OSVERSIONINFOA& info) {
    std::memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    return GetVersionExA(&info) != FALSE;
}

}  // namespace

WMISecurity::WMISecurity(const WMISecurity& other)
    : user(BstrHolder::copyOf(other.getUser())),
      password(BstrHolder::copyOf(other.getPassword())) {}

WMISecurity& WMISecurity::operator=(const WMISecurity& other) {
    if (this != &other) setCredentials(other.getUser(), other.getPassword());
    return *this;
}

void WMISecurity::assign(BstrHolder& target, BSTR source) {
    if (target.get() != source) target = BstrHolder::copyOf(source);
}

void WMISecurity::setCredentials(BSTR newUser, BSTR newPassword) {
    assign(user, newUser);
    assign(password, newPassword);
}

void WMISecurity::setProxyBlanket(IUnknown* proxy) const {
    HRESULT result = enablePrivileges();
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    result = setInterfaceSecurity(proxy, nullptr, user.get(), password.get(),
                                  RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
}

HRESULT enablePrivileges() {
    if (!ImpersonateSelf(SecurityImpersonation))
        throw WMIException(__FILE__, __LINE__, CDBC_PRIVILEGE_ERROR, "adjust Privilige error");
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, TRUE, &token))
        throw WMIException(__FILE__, __LINE__, kAccessDenied);
    const std::unique_ptr<void, decltype(&CloseHandle)> tokenOwner(token, &CloseHandle);

    // The first query only learns the size the privilege list needs.
    BYTE probe[8];
    DWORD needed = 0;
    GetTokenInformation(token, TokenPrivileges, probe, sizeof(probe), &needed);
    const size_t size = needed < sizeof(TOKEN_PRIVILEGES) ? sizeof(TOKEN_PRIVILEGES) : needed;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]());
    auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.get());
    if (privileges == nullptr) return kOutOfMemory;
    if (!GetTokenInformation(token, TokenPrivileges, privileges, static_cast<DWORD>(size), &needed))
        return kAccessDenied;

    // Never trust the count beyond what the buffer can hold.
    const size_t room =
        (size - offsetof(TOKEN_PRIVILEGES, Privileges)) / sizeof(LUID_AND_ATTRIBUTES);
    const size_t count = privileges->PrivilegeCount < room ? privileges->PrivilegeCount : room;
    LUID_AND_ATTRIBUTES* entries = privileges->Privileges;
    for (size_t i = 0; i < count; ++i) entries[i].Attributes |= SE_PRIVILEGE_ENABLED;

    return AdjustTokenPrivileges(token, FALSE, privileges, 0, nullptr, nullptr) ? S_OK
                                                                                : kAccessDenied;
}

HRESULT setInterfaceSecurity(IUnknown* proxy, const wchar_t* authority, const wchar_t* user,
                             const wchar_t* password, DWORD authenticationLevel,
                             DWORD impersonationLevel) {
    if (proxy == nullptr) return E_INVALIDARG;
    if (authenticationLevel == RPC_C_AUTHN_LEVEL_NONE)
        return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_NONE, RPC_C_IMP_LEVEL_IDENTIFY, nullptr,
                                 EOAC_NONE);
    if (isEmpty(authority) && isEmpty(user) && isEmpty(password)) {
        // The caller's own identity; cloaking keeps the impersonated token on the calls.
        const DWORD capabilities = isWindowsNTBeforeVersion5() ? EOAC_NONE : EOAC_STATIC_CLOAKING;
        return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 authenticationLevel, impersonationLevel, nullptr, capabilities);
    }

    BstrHolder domainText;
    BstrHolder userText;
    const HRESULT result = parseAuthorityUser(authority, user, domainText.put(), userText.put());
    if (result != S_OK) return result;
    const BSTR domain = domainText.get();
    const BSTR userName = userText.get();

    COAUTHIDENTITY identity;
    std::memset(&identity, 0, sizeof(identity));
    using Text = decltype(identity.User);
    char ansiUser[kNameCapacity];
    char ansiDomain[kNameCapacity];
    char ansiPassword[kNameCapacity];
    if (isWindowsNT()) {
        identity.User = reinterpret_cast<Text>(userName);
        identity.UserLength = wideLength(userName);
        identity.Domain = reinterpret_cast<Text>(domain);
        identity.DomainLength = wideLength(domain);
        identity.Password = reinterpret_cast<Text>(const_cast<wchar_t*>(password));
        identity.PasswordLength = wideLength(password);
        identity.Flags = SEC_WINNT_AUTH_IDENTITY_UNICODE;
    } else {
        identity.UserLength = toAnsi(userName, ansiUser);
        identity.DomainLength = toAnsi(domain, ansiDomain);
        identity.PasswordLength = toAnsi(password, ansiPassword);
        if (userName != nullptr) identity.User = reinterpret_cast<Text>(ansiUser);
        if (domain != nullptr) identity.Domain = reinterpret_cast<Text>(ansiDomain);
        if (password != nullptr) identity.Password = reinterpret_cast<Text>(ansiPassword);
        identity.Flags = SEC_WINNT_AUTH_IDENTITY_ANSI;
    }
    return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                             authenticationLevel, impersonationLevel, &identity, EOAC_NONE);
}

HRESULT parseAuthorityUser(const wchar_t* authority, const wchar_t* user, BSTR* domain,
                           BSTR* userName) {
    *domain = nullptr;
    *userName = nullptr;
    if (!isEmpty(authority) && !hasDomainPrefix(authority)) return E_INVALIDARG;
    const wchar_t* backslash = isEmpty(user) ? nullptr : std::wcschr(user, L'\\');

    // Both strings are handed over only when both could be made.
    BstrHolder domainCopy;
    BstrHolder userCopy;
    HRESULT result = S_OK;
    if (!isEmpty(authority) && std::wcslen(authority) > kDomainPrefixLength) {
        if (backslash != nullptr) return E_INVALIDARG;
        const wchar_t* name = authority + kDomainPrefixLength;
        result = copyText(name, std::wcslen(name), domainCopy);
        if (result == S_OK && user != nullptr) result = copyText(user, std::wcslen(user), userCopy);
    } else if (backslash == nullptr) {
        if (user != nullptr) result = copyText(user, std::wcslen(user), userCopy);
    } else {
        // A domain that would not fit the system's name buffer is refused, not truncated.
        const size_t domainLength = static_cast<size_t>(backslash - user);
        if (domainLength >= kNameCapacity) return E_INVALIDARG;
        result = copyText(user, domainLength, domainCopy);
        const wchar_t* name = backslash + 1;
        if (result == S_OK && *name != L'\0') result = copyText(name, std::wcslen(name), userCopy);
    }
    if (result != S_OK) return result;
    *domain = domainCopy.detach();
    *userName = userCopy.detach();
    return S_OK;
}

bool isWindowsNT() {
    OSVERSIONINFOA info;
    return queryVersion(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool isWindowsNTBeforeVersion5() {
    OSVERSIONINFOA info;
    return queryVersion(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           info.dwMajorVersion < 5;
}
