// The repository at one moment: immutable, shared by every reader that obtained it.
#ifndef NVX4_REPOSITORY_SNAPSHOT_H
#define NVX4_REPOSITORY_SNAPSHOT_H

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nvx4/repository/Namespace.h"

namespace nvx4::repository {

class Snapshot {
  public:
    explicit Snapshot(std::vector<std::shared_ptr<const Namespace>> namespaces);

    // By name without regard to case; "/" separates like "\".
    const Namespace* findNamespace(std::wstring_view name) const;
    std::vector<std::wstring> namespaceNames() const;

    // The form in which namespace names are compared: folded, "\" separated, no leading or
    // trailing separators.
    static std::wstring canonicalName(std::wstring_view name);

  private:
    std::unordered_map<std::wstring, std::shared_ptr<const Namespace>> namespaces_;
};

}  // namespace nvx4::repository

#endif
