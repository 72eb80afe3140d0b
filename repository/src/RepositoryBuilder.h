// Applies documents to a mutable repository, statement by statement, checking each against what
// is already there; freezes it into a Snapshot.
#ifndef NVX4_REPOSITORY_REPOSITORYBUILDER_H
#define NVX4_REPOSITORY_REPOSITORYBUILDER_H

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "MofDocument.h"
#include "nvx4/repository/Instance.h"
#include "nvx4/repository/LoadError.h"
#include "nvx4/repository/Namespace.h"
#include "nvx4/repository/Snapshot.h"

namespace nvx4::repository {

class RepositoryBuilder {
  public:
    // Applies the statements in order and stops at the first that fails. What the statements
    // before it changed stays changed; the caller discards the builder when that matters.
    std::optional<LoadError> apply(const MofDocument& document);
    std::shared_ptr<const Snapshot> freeze(Snapshot::PublisherList publishers = {}) const;

    Namespace* findNamespace(std::wstring_view name);
    // The instance a declaration describes, with every value checked; throws ApplyError.
    static std::shared_ptr<const Instance> makeInstance(std::shared_ptr<const ClassDef> cls,
                                                        const InstanceDecl& decl);

  private:
    void apply(const Statement& statement);
    void apply(const NamespaceDecl& decl);
    void apply(const ClassDecl& decl);
    void apply(const InstanceDecl& decl);
    void apply(const PutInstanceDecl& decl);
    void apply(const DeleteClassDecl& decl);
    void apply(const DeleteInstanceDecl& decl);
    // The namespace and every namespace above it.
    Namespace& ensureNamespace(const std::wstring& name);

    std::map<std::wstring, Namespace> namespaces_;  // by canonical name
};

}  // namespace nvx4::repository

#endif
