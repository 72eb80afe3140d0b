#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "nvx4/platform/ThreadTokens.h"
#include "nvx4/platform/FaultInjection.h"

namespace {

using nvx4::platform::Fault;
using nvx4::platform::FaultInjection;
using nvx4::platform::FaultPoint;

TEST(CodePageTest, MultiByteToWideCharMeasuresAndConverts) {
    // "Grüße ☺" is 7 characters in 11 bytes of UTF-8.
    const char* text =
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x98\xBA";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 8);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 11, nullptr, 0), 7);
    wchar_t wide[8];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 8), 8);
    EXPECT_STREQ(wide, L"Gr\u00FC\u00DFe \u263A");

    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 7), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    // A malformed sequence becomes U+FFFD, unless the caller asks to fail on it.
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xFFz", 3, wide, 8), 3);
    EXPECT_EQ(wide[1], L'\xFFFD');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFFz", 3, wide, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePageTest, WideCharToMultiByteMeasuresAndConverts) {
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u263A!", -1, nullptr, 0, nullptr, nullptr), 5);
    char narrow[8];
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u263A!", 2, narrow, 8, nullptr, nullptr), 4);
    EXPECT_EQ(std::string(narrow, 4), "\xE2\x98\xBA!");
    // A lone surrogate is not a character.
    const wchar_t surrogate[] = {L'a', static_cast<wchar_t>(0xD800), 0};
    BOOL usedDefault = FALSE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, surrogate, -1, narrow, 8, nullptr, &usedDefault), 5);
    EXPECT_EQ(std::string(narrow), "a\xEF\xBF\xBD");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, surrogate, -1, narrow, 8, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePageTest, RefusesWhatWindowsRefuses) {
    wchar_t wide[4];
    char narrow[4];
    BOOL used;
    const struct {
        std::function<int()> call;
        DWORD error;
    } cases[] = {
        {[&] { return MultiByteToWideChar(1252, 0, "a", 1, wide, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, nullptr, 1, wide, 4); },
         ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 4); },
         ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wide, 4); },
         ERROR_INVALID_FLAGS},
        {[&] { return WideCharToMultiByte(CP_UTF8, 0, L"a", 1, narrow, 4, nullptr, &used); },
         ERROR_INVALID_PARAMETER},
        {[&] { return WideCharToMultiByte(CP_ACP, 0, L"a", -2, narrow, 4, nullptr, nullptr); },
         ERROR_INVALID_PARAMETER},
        {[&] {
             return WideCharToMultiByte(CP_UTF8, WC_DEFAULTCHAR, L"a", 1, narrow, 4, nullptr,
                                        nullptr);
         },
         ERROR_INVALID_FLAGS},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(cases[i].call(), 0) << i;
        EXPECT_EQ(GetLastError(), cases[i].error) << i;
    }
}

TEST(VersionTest, ReportsAnNtSystemOfVersionFiveOrLater) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(sizeof info, 148u);
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_GE(info.dwMajorVersion, 5u);
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof extended;
    EXPECT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&extended)));
    info.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

class TokenTest : public ::testing::Test {
  protected:
    ~TokenTest() override {
        RevertToSelf();
        FaultInjection::clear();
        EXPECT_EQ(nvx4::platform::ThreadTokens::openHandles(), openAtStart_);
    }

    static std::vector<LUID_AND_ATTRIBUTES> privileges(HANDLE token) {
        DWORD needed = 0;
        BYTE probe[8];
        EXPECT_FALSE(GetTokenInformation(token, TokenPrivileges, probe, sizeof probe, &needed));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        std::vector<BYTE> buffer(needed);
        EXPECT_TRUE(GetTokenInformation(token, TokenPrivileges, buffer.data(), needed, &needed));
        auto* list = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
        EXPECT_EQ(needed, offsetof(TOKEN_PRIVILEGES, Privileges) +
                              list->PrivilegeCount * sizeof(LUID_AND_ATTRIBUTES));
        return {list->Privileges, list->Privileges + list->PrivilegeCount};
    }

    std::size_t openAtStart_ = nvx4::platform::ThreadTokens::openHandles();
};

TEST_F(TokenTest, AThreadHasATokenOnlyWhileItImpersonates) {
    HANDLE token = nullptr;
    EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_TOKEN));
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    ASSERT_TRUE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
    EXPECT_TRUE(CloseHandle(token));
    EXPECT_FALSE(CloseHandle(token));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // Another thread has its own state.
    std::thread([] {
        HANDLE other = nullptr;
        EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &other));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_TOKEN));
    }).join();
    EXPECT_TRUE(RevertToSelf());
    EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
}

TEST_F(TokenTest, PrivilegesCanBeEnabledThroughTheToken) {
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    HANDLE token = nullptr;
    ASSERT_TRUE(
        OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, TRUE, &token));
    std::vector<LUID_AND_ATTRIBUTES> held = privileges(token);
    ASSERT_FALSE(held.empty());
    std::vector<BYTE> buffer(offsetof(TOKEN_PRIVILEGES, Privileges) +
                             held.size() * sizeof(LUID_AND_ATTRIBUTES));
    auto* request = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
    request->PrivilegeCount = static_cast<DWORD>(held.size());
    for (std::size_t i = 0; i < held.size(); ++i) {
        request->Privileges[i] = held[i];
        request->Privileges[i].Attributes |= SE_PRIVILEGE_ENABLED;
    }
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, request, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    for (const LUID_AND_ATTRIBUTES& privilege : privileges(token))
        EXPECT_TRUE(privilege.Attributes & SE_PRIVILEGE_ENABLED);

    // A privilege the token does not hold is reported, not granted.
    request->PrivilegeCount = 1;
    request->Privileges[0] = {{9999, 0}, SE_PRIVILEGE_ENABLED};
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, request, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED));
    EXPECT_EQ(privileges(token).size(), held.size());

    // A new impersonation starts again from the process token.
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    HANDLE fresh = nullptr;
    ASSERT_TRUE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &fresh));
    EXPECT_FALSE(privileges(fresh)[0].Attributes & SE_PRIVILEGE_ENABLED);
    CloseHandle(fresh);
    CloseHandle(token);
}

TEST_F(TokenTest, AHandleAllowsOnlyTheAccessItWasOpenedFor) {
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES, TRUE, &token));
    DWORD needed = 0;
    EXPECT_FALSE(GetTokenInformation(token, TokenPrivileges, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(token);
    ASSERT_TRUE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
    EXPECT_FALSE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(token);
    EXPECT_FALSE(OpenThreadToken(reinterpret_cast<HANDLE>(0x1234), TOKEN_QUERY, TRUE, &token));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
