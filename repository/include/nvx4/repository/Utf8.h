// UTF-8 to and from wide text (one wchar_t per code point). MOF files are UTF-8, and so is the
// ANSI code page of the platform's conversion calls.
#ifndef NVX4_REPOSITORY_UTF8_H
#define NVX4_REPOSITORY_UTF8_H

#include <string>
#include <string_view>

namespace nvx4::repository {

class Utf8 {
  public:
    // A malformed sequence becomes U+FFFD, or, when strict, makes the call return false.
    static bool decode(std::string_view text, std::wstring& out, bool strict = false);
    // A character outside Unicode (or a surrogate) becomes U+FFFD, or fails when strict.
    static bool encode(std::wstring_view text, std::string& out, bool strict = false);

    static std::wstring toWide(std::string_view text);
    static std::string toNarrow(std::wstring_view text);
};

}  // namespace nvx4::repository

#endif
