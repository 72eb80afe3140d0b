#include "WMISecurity.h"

#include <gtest/gtest.h>

#include <wbemcli.h>

#include <string>

#include "ExpectThrowCode.h"
#include "WMIException.h"
#include "nvx4/platform/ProxyBlanketLog.h"

namespace {

using nvx4::platform::ProxyBlanketLog;

std::wstring textOf(BSTR text) {
    return text == nullptr ? L"<null>" : std::wstring(text, SysStringLen(text));
}

TEST(ParseAuthorityUser, SplitsDomainAndUser) {
    const std::wstring longDomain(259, L'd');
    const std::wstring longUser = longDomain + L"\\eve";
    const std::wstring tooLongUser = std::wstring(260, L'd') + L"\\eve";
    const struct {
        const wchar_t* authority;
        const wchar_t* user;
        HRESULT result;
        std::wstring domain;
        std::wstring userName;
    } cases[] = {
        {L"", L"alice", S_OK, L"<null>", L"alice"},
        {nullptr, L"DOM\\", S_OK, L"DOM", L"<null>"},
        {nullptr, nullptr, S_OK, L"<null>", L"<null>"},
        {nullptr, longUser.c_str(), S_OK, longDomain, L"eve"},
        {nullptr, tooLongUser.c_str(), E_INVALIDARG, L"<null>", L"<null>"},
    };
    for (const auto& c : cases) {
        BSTR domain = reinterpret_cast<BSTR>(1);
        BSTR userName = reinterpret_cast<BSTR>(1);
        EXPECT_EQ(parseAuthorityUser(c.authority, c.user, &domain, &userName), c.result)
            << (c.user ? c.user : L"");
        EXPECT_EQ(textOf(domain), c.domain);
        EXPECT_EQ(textOf(userName), c.userName);
        SysFreeString(domain);
        SysFreeString(userName);
    }
}

TEST(WMISecurityTest, SetProxyBlanketEnablesPrivilegesFirst) {
    const WMISecurity security;
    // The privileges themselves are the driver suite's; a refused blanket raises its code.
    EXPECT_CDBC_THROW(security.setProxyBlanket(nullptr), 0x80070057, "UNKNOWM");
}

// The credentials are private copies: the caller's strings are gone before they are used.
TEST(WMISecurityTest, ExplicitCredentialsGoIntoTheIdentity) {
    CoInitialize(nullptr);
    IWbemLocator* proxy = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                               reinterpret_cast<void**>(&proxy)),
              S_OK);
    WMISecurity original;
    BSTR user = SysAllocString(L"DOM\\alice");
    BSTR password = SysAllocString(L"secret");
    original.setCredentials(user, password);
    SysFreeString(user);
    SysFreeString(password);
    const BSTR stored = original.getUser();
    original.setCredentials(original.getUser(), original.getPassword());
    EXPECT_EQ(original.getUser(), stored);  // storing its own strings keeps them

    WMISecurity security;
    security = WMISecurity(original);
    original.setCredentials(nullptr, nullptr);
    ProxyBlanketLog::clear();
    security.setProxyBlanket(proxy);
    const auto calls = ProxyBlanketLog::calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].hasIdentity);
    EXPECT_EQ(calls[0].domain, "DOM");
    EXPECT_EQ(calls[0].user, "alice");
    EXPECT_EQ(calls[0].password, "secret");
    EXPECT_EQ(calls[0].identityFlags, static_cast<std::uint32_t>(SEC_WINNT_AUTH_IDENTITY_UNICODE));
    EXPECT_EQ(calls[0].capabilities, static_cast<std::uint32_t>(EOAC_NONE));
    proxy->Release();
    CoUninitialize();
}

}  // namespace
