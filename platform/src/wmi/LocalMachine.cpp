#include "LocalMachine.h"

#include <cwctype>

#include "nvx4/platform/NameService.h"
#include "nvx4/repository/Names.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::platform {

using repository::Names;
using repository::Utf8;

namespace {

std::wstring machineName() {
    std::string name;
    if (NameService::machineName(name) != 0 || name.empty()) return L"localhost";
    return Utf8::toWide(name);
}

std::wstring firstLabel(const std::wstring& name) { return name.substr(0, name.find(L'.')); }

}  // namespace

std::wstring LocalMachine::name() {
    std::wstring label = firstLabel(machineName());
    for (wchar_t& c : label) c = static_cast<wchar_t>(std::towupper(c));
    return label;
}

bool LocalMachine::designates(std::wstring_view host) {
    if (host == L"." || Names::same(host, L"localhost") || host == L"::1") return true;
    if (host.substr(0, 4) == L"127.") return true;
    const std::wstring machine = machineName();
    return Names::same(host, machine) || Names::same(host, firstLabel(machine));
}

}  // namespace nvx4::platform
