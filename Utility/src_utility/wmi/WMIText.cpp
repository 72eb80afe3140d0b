#include "WMIText.h"

#include <new>

#include "BstrHolder.h"

// Without flags the conversions replace what they cannot convert, so they fail only for want of
// resources; a failure is reported, never passed on as empty or NUL-filled text.

BSTR toBstr(const char* text) {
    if (text == nullptr) text = "";
    // The required length includes the terminator, which SysAllocStringLen adds by itself.
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return nullptr;
    if (length == 1) return SysAllocStringLen(nullptr, 0);
    BstrHolder wide(SysAllocStringLen(nullptr, static_cast<UINT>(length - 1)));
    if (!wide || MultiByteToWideChar(CP_ACP, 0, text, -1, wide.get(), length) != length)
        return nullptr;
    return wide.detach();
}

namespace {

// Text that is all ASCII converts the same in every ANSI code page: one character for one. Both
// loops run without early exits so that the compiler can vectorise them.
bool isAscii(const wchar_t* text, size_t length) {
    unsigned bits = 0;
    for (size_t i = 0; i < length; ++i) bits |= static_cast<unsigned>(text[i]);
    return bits < 0x80;
}

std::string narrowAscii(const wchar_t* text, size_t length) {
    std::string narrow(length, '\0');
    char* out = &narrow[0];
    for (size_t i = 0; i < length; ++i) out[i] = static_cast<char>(text[i]);
    return narrow;
}

}  // namespace

std::string toNarrow(const wchar_t* text, size_t length) {
    if (text == nullptr || length == 0) return std::string();
    if (isAscii(text, length)) return narrowAscii(text, length);
    const int wideLength = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) throw std::bad_alloc();
    std::string narrow(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text, wideLength, &narrow[0], size, nullptr, nullptr) !=
        size)
        throw std::bad_alloc();
    return narrow;
}

std::string bstrToNarrow(BSTR text) { return toNarrow(text, SysStringLen(text)); }
