// The code-page conversions, over the stand-in on Linux and over the real implementation on
// Windows (Wine's, in CI), so that the stand-in is checked against it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>

namespace {

// The ANSI code page (UTF-8 on Linux) is checked through WMIText.
TEST(CodePageTest, MultiByteToWideCharMeasuresAndConverts) {
    // "Grüße ☺" is 7 characters in 11 bytes of UTF-8.
    const char* text =
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE2\x98\xBA";
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), 8);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 11, nullptr, 0), 7);
    wchar_t wide[8];
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 8), 8);
    EXPECT_EQ(std::wstring(wide), L"Gr\u00FC\u00DFe \u263A");
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 7), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    // A malformed sequence becomes U+FFFD, unless the caller asks to fail on it.
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xFFz", 3, wide, 8), 3);
    EXPECT_EQ(wide[1], L'\xFFFD');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFFz", 3, wide, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePageTest, WideCharToMultiByteMeasuresAndConverts) {
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u263A!", -1, nullptr, 0, nullptr, nullptr), 5);
    char narrow[8];
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u263A!", 2, narrow, 8, nullptr, nullptr), 4);
    EXPECT_EQ(std::string(narrow, 4), "\xE2\x98\xBA!");
    // A lone surrogate is not a character: it becomes U+FFFD, unless the caller asks to fail.
    const wchar_t surrogate[] = {L'a', static_cast<wchar_t>(0xD800), 0};
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, surrogate, -1, narrow, 8, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(narrow), "a\xEF\xBF\xBD");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, surrogate, -1, narrow, 8, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePageTest, RefusesWhatWindowsRefuses) {
    wchar_t wide[4];
    [[maybe_unused]] char narrow[4];
    [[maybe_unused]] BOOL used;
    const DWORD bad = ERROR_INVALID_PARAMETER;
    [[maybe_unused]] const DWORD flags = ERROR_INVALID_FLAGS;
    const struct {
        std::function<int()> call;
        DWORD error;
    } cases[] = {
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4); }, bad},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, nullptr, 1, wide, 4); }, bad},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 4); }, bad},
        {[&] { return WideCharToMultiByte(CP_ACP, 0, L"a", 0, narrow, 4, nullptr, nullptr); }, bad},
#ifndef _WIN32
        // The documentation refuses these flags and the default-character report for UTF-8, and
        // defines no negative length but -1; Wine accepts all four, so they stay here.
        {[&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wide, 4); }, flags},
        {[&] { return WideCharToMultiByte(CP_UTF8, 0, L"a", 1, narrow, 4, nullptr, &used); }, bad},
        {[&] { return WideCharToMultiByte(CP_ACP, 0, L"a", -2, narrow, 4, nullptr, nullptr); },
         bad},
        {[&] {
             return WideCharToMultiByte(CP_UTF8, WC_DEFAULTCHAR, L"a", 1, narrow, 4, nullptr,
                                        nullptr);
         },
         flags},
        // The stand-in knows only code pages that are UTF-8.
        {[&] { return MultiByteToWideChar(1252, 0, "a", 1, wide, 4); }, bad},
#endif
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(cases[i].call(), 0) << i;
        EXPECT_EQ(GetLastError(), cases[i].error) << i;
    }
}

}  // namespace
