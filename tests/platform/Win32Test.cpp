#include <windows.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "nvx4/platform/ThreadTokens.h"

namespace {

// An NT system of version 5 or later is what the driver suite's cloaked and Unicode identities
// need; a structure of an unknown size is refused.
TEST(VersionTest, ReportsAnNtSystemOfVersionFiveOrLater) {
    OSVERSIONINFOEXA extended{};
    extended.dwOSVersionInfoSize = sizeof extended;
    EXPECT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&extended)));
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

class TokenTest : public ::testing::Test {
  protected:
    ~TokenTest() override {
        RevertToSelf();
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

// Enabling the privileges a token holds is the driver suite's.
TEST_F(TokenTest, PrivilegesCanBeEnabledThroughTheToken) {
    ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation));
    HANDLE token = nullptr;
    ASSERT_TRUE(
        OpenThreadToken(GetCurrentThread(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, TRUE, &token));
    const std::size_t held = privileges(token).size();
    // A privilege the token does not hold is reported, not granted.
    TOKEN_PRIVILEGES request{1, {{{9999, 0}, SE_PRIVILEGE_ENABLED}}};
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &request, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED));
    EXPECT_EQ(privileges(token).size(), held);
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
