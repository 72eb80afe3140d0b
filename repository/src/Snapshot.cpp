#include "nvx4/repository/Snapshot.h"

#include "nvx4/repository/Names.h"

namespace nvx4::repository {

Snapshot::Snapshot(std::vector<std::shared_ptr<const Namespace>> namespaces,
                   PublisherList publishers)
    : publishers_(std::move(publishers)) {
    for (auto& ns : namespaces) {
        std::wstring key = canonicalName(ns->name());
        namespaces_.emplace(std::move(key), std::move(ns));
    }
}

const Namespace* Snapshot::findNamespace(std::wstring_view name) const {
    auto found = namespaces_.find(canonicalName(name));
    return found == namespaces_.end() ? nullptr : found->second.get();
}

std::vector<std::wstring> Snapshot::namespaceNames() const {
    std::vector<std::wstring> names;
    for (const auto& entry : namespaces_) names.push_back(entry.second->name());
    return names;
}

std::wstring Snapshot::canonicalName(std::wstring_view name) {
    std::wstring result;
    for (wchar_t c : name) {
        if (c == L'/' || c == L'\\') {
            if (!result.empty() && result.back() != L'\\') result += L'\\';
        } else {
            result += Names::fold(c);
        }
    }
    if (!result.empty() && result.back() == L'\\') result.pop_back();
    return result;
}

}  // namespace nvx4::repository
