// MultiByteToWideChar and WideCharToMultiByte. Every code page the platform knows (the ANSI, OEM,
// thread and UTF-8 code pages) is UTF-8; wide text is one wchar_t per code point.
#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "nvx4/repository/Utf8.h"

using nvx4::repository::Utf8;

namespace {

constexpr DWORD kAnsiToWideFlags =
    MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
constexpr DWORD kWideToAnsiFlags = WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                                   WC_NO_BEST_FIT_CHARS | WC_ERR_INVALID_CHARS;

bool isKnownCodePage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP ||
           codePage == CP_UTF8;
}

int fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// Copies a converted text to the caller, or only measures it when the capacity is 0.
template <typename Char>
int deliver(const std::basic_string<Char>& text, Char* out, int capacity) {
    const auto length = static_cast<int>(text.size());
    if (capacity == 0) return length;
    if (length > capacity) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(out, text.data(), text.size() * sizeof(Char));
    return length;
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
    if (!isKnownCodePage(CodePage) || lpMultiByteStr == nullptr || cbMultiByte == 0 ||
        cbMultiByte < -1 || cchWideChar < 0 || (cchWideChar > 0 && lpWideCharStr == nullptr))
        return fail(ERROR_INVALID_PARAMETER);
    const DWORD allowed = CodePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : kAnsiToWideFlags;
    if (dwFlags & ~allowed) return fail(ERROR_INVALID_FLAGS);
    // -1: the text is NUL-terminated, and the terminator is converted too.
    const std::size_t length =
        cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<std::size_t>(cbMultiByte);
    // A system call reports running out of memory; it never throws.
    try {
        std::wstring wide;
        if (!Utf8::decode(std::string_view(lpMultiByteStr, length), wide,
                          (dwFlags & MB_ERR_INVALID_CHARS) != 0))
            return fail(ERROR_NO_UNICODE_TRANSLATION);
        return deliver(wide, lpWideCharStr, cchWideChar);
    } catch (const std::bad_alloc&) {
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        LPBOOL lpUsedDefaultChar) {
    if (!isKnownCodePage(CodePage) || lpWideCharStr == nullptr || cchWideChar == 0 ||
        cchWideChar < -1 || cbMultiByte < 0 || (cbMultiByte > 0 && lpMultiByteStr == nullptr))
        return fail(ERROR_INVALID_PARAMETER);
    // As on Windows, UTF-8 has no default character.
    if (CodePage == CP_UTF8 && (lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr))
        return fail(ERROR_INVALID_PARAMETER);
    const DWORD allowed = CodePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : kWideToAnsiFlags;
    if (dwFlags & ~allowed) return fail(ERROR_INVALID_FLAGS);
    const std::size_t length =
        cchWideChar == -1 ? std::wcslen(lpWideCharStr) + 1 : static_cast<std::size_t>(cchWideChar);
    const std::wstring_view wide(lpWideCharStr, length);
    try {
        std::string narrow;
        if (!Utf8::encode(wide, narrow, (dwFlags & WC_ERR_INVALID_CHARS) != 0))
            return fail(ERROR_NO_UNICODE_TRANSLATION);
        if (lpUsedDefaultChar != nullptr) {
            std::string strict;
            *lpUsedDefaultChar = Utf8::encode(wide, strict, true) ? FALSE : TRUE;
        }
        return deliver(narrow, lpMultiByteStr, cbMultiByte);
    } catch (const std::bad_alloc&) {
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}
