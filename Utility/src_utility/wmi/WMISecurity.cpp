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

// A copy of `length` characters of `text` in `*copy`; a null text leaves `*copy` null.
HRESULT copyText(const wchar_t* text, size_t length, BSTR* copy) {
    if (text == nullptr) return S_OK;
    *copy = SysAllocStringLen(text, static_cast<UINT>(length));
    return *copy == nullptr ? E_OUTOFMEMORY : S_OK;
}

// A private copy of a BSTR, null for null. Raises E_OUTOFMEMORY when it cannot be allocated.
BSTR copyBstr(BSTR source) {
    if (source == nullptr) return nullptr;
    BSTR copy = SysAllocStringLen(source, SysStringLen(source));
    if (copy == nullptr) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    return copy;
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

WMISecurity::WMISecurity(const WMISecurity& other) : user(copyBstr(other.user)) {
    try {
        password = copyBstr(other.password);
    } catch (...) {
        SysFreeString(user);
        throw;
    }
}

WMISecurity& WMISecurity::operator=(const WMISecurity& other) {
    if (this != &other) setCredentials(other.user, other.password);
    return *this;
}

WMISecurity::~WMISecurity() {
    SysFreeString(password);
    SysFreeString(user);
}

void WMISecurity::assign(BSTR& target, BSTR source) {
    if (target == source) return;
    BSTR copy = copyBstr(source);
    SysFreeString(target);
    target = copy;
}

void WMISecurity::setCredentials(BSTR newUser, BSTR newPassword) {
    assign(user, newUser);
    assign(password, newPassword);
}

void WMISecurity::setProxyBlanket(IUnknown* proxy) const {
    HRESULT result = enablePrivileges();
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    result = setInterfaceSecurity(proxy, nullptr, user, password, RPC_C_AUTHN_LEVEL_CALL,
                                  RPC_C_IMP_LEVEL_IMPERSONATE);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
}

HRESULT enablePrivileges() {
    if (!ImpersonateSelf(SecurityImpersonation))
        throw WMIException(__FILE__, __LINE__, CDBC_PRIVILEGE_ERROR, "adjust Privilige error");
    HANDLE token = nullptr;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, TRUE, &token))
        throw WMIException(__FILE__, __LINE__, kAccessDenied);

    // The first query only learns the size the privilege list needs.
    BYTE probe[8];
    DWORD needed = 0;
    GetTokenInformation(token, TokenPrivileges, probe, sizeof(probe), &needed);
    const size_t size = needed < sizeof(TOKEN_PRIVILEGES) ? sizeof(TOKEN_PRIVILEGES) : needed;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]());
    auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.get());
    if (privileges == nullptr) {
        CloseHandle(token);
        return kOutOfMemory;
    }
    if (!GetTokenInformation(token, TokenPrivileges, privileges, static_cast<DWORD>(size),
                             &needed)) {
        CloseHandle(token);
        return kAccessDenied;
    }

    // Never trust the count beyond what the buffer can hold.
    const size_t room =
        (size - offsetof(TOKEN_PRIVILEGES, Privileges)) / sizeof(LUID_AND_ATTRIBUTES);
    const size_t count = privileges->PrivilegeCount < room ? privileges->PrivilegeCount : room;
    LUID_AND_ATTRIBUTES* entries = privileges->Privileges;
    for (size_t i = 0; i < count; ++i) entries[i].Attributes |= SE_PRIVILEGE_ENABLED;

    const BOOL adjusted = AdjustTokenPrivileges(token, FALSE, privileges, 0, nullptr, nullptr);
    CloseHandle(token);
    return adjusted ? S_OK : kAccessDenied;
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

    BSTR domain = nullptr;
    BSTR userName = nullptr;
    HRESULT result = parseAuthorityUser(authority, user, &domain, &userName);
    if (result != S_OK) return result;

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
    result = CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                               authenticationLevel, impersonationLevel, &identity, EOAC_NONE);
    SysFreeString(domain);
    SysFreeString(userName);
    return result;
}

HRESULT parseAuthorityUser(const wchar_t* authority, const wchar_t* user, BSTR* domain,
                           BSTR* userName) {
    *domain = nullptr;
    *userName = nullptr;
    if (!isEmpty(authority) && !hasDomainPrefix(authority)) return E_INVALIDARG;
    const wchar_t* backslash = isEmpty(user) ? nullptr : std::wcschr(user, L'\\');

    HRESULT result = S_OK;
    if (!isEmpty(authority) && std::wcslen(authority) > kDomainPrefixLength) {
        if (backslash != nullptr) return E_INVALIDARG;
        const wchar_t* name = authority + kDomainPrefixLength;
        result = copyText(name, std::wcslen(name), domain);
        if (result == S_OK && user != nullptr) result = copyText(user, std::wcslen(user), userName);
    } else if (backslash == nullptr) {
        if (user != nullptr) result = copyText(user, std::wcslen(user), userName);
    } else {
        // A domain that would not fit the system's name buffer is refused, not truncated.
        const size_t domainLength = static_cast<size_t>(backslash - user);
        if (domainLength >= kNameCapacity) return E_INVALIDARG;
        result = copyText(user, domainLength, domain);
        const wchar_t* name = backslash + 1;
        if (result == S_OK && *name != L'\0') result = copyText(name, std::wcslen(name), userName);
    }
    if (result != S_OK) {
        SysFreeString(*domain);
        SysFreeString(*userName);
        *domain = nullptr;
        *userName = nullptr;
    }
    return result;
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
