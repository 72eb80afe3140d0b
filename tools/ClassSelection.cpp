#include "ClassSelection.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace nvx4::tool {
namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const ClassInfo* byId(const std::string& name) {
    if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit) || name.size() > 9)
        return nullptr;
    return findClass(std::stoi(name));
}

const ClassInfo* byName(const std::string& name) {
    for (const ClassInfo& info : kClassTable)
        if (sameIgnoringCase(name, info.repositoryClass) || sameIgnoringCase(name, info.recordType))
            return &info;
    return nullptr;
}

}  // namespace

std::vector<const ClassInfo*> selectClasses(const std::vector<std::string>& names) {
    std::vector<const ClassInfo*> selected;
    for (const std::string& name : names) {
        if (name == "all") {
            for (const ClassInfo& info : kClassTable) selected.push_back(&info);
            continue;
        }
        const ClassInfo* info = byId(name);
        if (info == nullptr) info = byName(name);
        if (info == nullptr)
            throw std::invalid_argument("unknown class '" + name +
                                        "' (use an id 1001..1045, a class name or 'all'; "
                                        "--list shows them)");
        selected.push_back(info);
    }
    return selected;
}

}  // namespace nvx4::tool
