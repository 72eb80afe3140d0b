#include "nvx4/repository/Names.h"
#include "nvx4/repository/Repository.h"

namespace nvx4::repository {

const Value& MethodCall::input(std::wstring_view name) const {
    static const Value kNull;
    for (const auto& [parameter, value] : in)
        if (Names::same(parameter, name)) return value;
    return kNull;
}

void MethodCall::setOutput(std::wstring name, Value value) {
    for (auto& [parameter, current] : out) {
        if (Names::same(parameter, name)) {
            current = std::move(value);
            return;
        }
    }
    out.emplace_back(std::move(name), std::move(value));
}

}  // namespace nvx4::repository
