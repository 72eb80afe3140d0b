// Names of namespaces, classes, properties and methods compare without regard to case, as the
// management service's do. Only ASCII letters fold; other characters compare as they are.
#ifndef NVX4_REPOSITORY_NAMES_H
#define NVX4_REPOSITORY_NAMES_H

#include <string>
#include <string_view>

namespace nvx4::repository {

class Names {
  public:
    static wchar_t fold(wchar_t c) { return (c >= L'A' && c <= L'Z') ? c + (L'a' - L'A') : c; }
    static std::wstring folded(std::wstring_view name);
    static bool same(std::wstring_view a, std::wstring_view b) {
        if (a.size() != b.size()) return false;
        // Names are mostly written alike; comparing them whole first is the cheap common case.
        return a == b || sameFolded(a, b);
    }

  private:
    static bool sameFolded(std::wstring_view a, std::wstring_view b);
};

}  // namespace nvx4::repository

#endif
