#include "nvx4/repository/Names.h"

namespace nvx4::repository {

std::wstring Names::folded(std::wstring_view name) {
    std::wstring result(name);
    for (wchar_t& c : result) c = fold(c);
    return result;
}

bool Names::sameFolded(std::wstring_view a, std::wstring_view b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && fold(a[i]) != fold(b[i])) return false;
    return true;
}

}  // namespace nvx4::repository
