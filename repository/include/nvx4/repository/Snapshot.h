// The repository at one moment: immutable, shared by every reader that obtained it.
#ifndef NVX4_REPOSITORY_SNAPSHOT_H
#define NVX4_REPOSITORY_SNAPSHOT_H

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nvx4/repository/Namespace.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

class Snapshot {
  public:
    using PublisherList = std::vector<std::shared_ptr<Publisher>>;

    // `publishers`: the live sources in effect, in the order the source list names them.
    explicit Snapshot(std::vector<std::shared_ptr<const Namespace>> namespaces,
                      PublisherList publishers = {});

    // By name without regard to case; "/" separates like "\".
    const Namespace* findNamespace(std::wstring_view name) const;
    std::vector<std::wstring> namespaceNames() const;
    // The publishers that fill classes of the default namespace when they are enumerated.
    const PublisherList& publishers() const { return publishers_; }

    // The form in which namespace names are compared: folded, "\" separated, no leading or
    // trailing separators.
    static std::wstring canonicalName(std::wstring_view name);

  private:
    std::unordered_map<std::wstring, std::shared_ptr<const Namespace>> namespaces_;
    PublisherList publishers_;
};

}  // namespace nvx4::repository

#endif
