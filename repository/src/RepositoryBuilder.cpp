#include "RepositoryBuilder.h"

#include <vector>

#include "ApplyError.h"
#include "ClassFactory.h"
#include "nvx4/repository/TypeCheck.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

std::string narrow(const std::wstring& text) { return Utf8::toNarrow(text); }

}  // namespace

std::optional<LoadError> RepositoryBuilder::apply(const MofDocument& document) {
    for (const Statement& statement : document.statements) {
        try {
            apply(statement);
        } catch (const ApplyError& e) {
            return LoadError{document.name, e.where.line, e.where.column, e.message};
        }
    }
    return std::nullopt;
}

std::shared_ptr<const Snapshot> RepositoryBuilder::freeze(
    Snapshot::PublisherList publishers) const {
    std::vector<std::shared_ptr<const Namespace>> frozen;
    for (const auto& entry : namespaces_) {
        auto copy = std::make_shared<Namespace>(entry.second);
        copy->index();
        frozen.push_back(std::move(copy));
    }
    return std::make_shared<const Snapshot>(std::move(frozen), std::move(publishers));
}

Namespace* RepositoryBuilder::findNamespace(std::wstring_view name) {
    auto found = namespaces_.find(Snapshot::canonicalName(name));
    return found == namespaces_.end() ? nullptr : &found->second;
}

std::shared_ptr<const Instance> RepositoryBuilder::makeInstance(std::shared_ptr<const ClassDef> cls,
                                                                const InstanceDecl& decl) {
    auto instance = std::make_shared<Instance>();
    std::vector<bool> assigned(cls->properties.size(), false);
    instance->values.reserve(cls->properties.size());
    for (const PropertyDef& property : cls->properties)
        instance->values.push_back(property.defaultValue);
    for (const Assignment& assignment : decl.assignments) {
        const int index = cls->propertyIndex(assignment.property);
        if (index < 0)
            throw ApplyError{assignment.where, "class " + narrow(cls->name) + " has no property " +
                                                   narrow(assignment.property)};
        if (assigned[index])
            throw ApplyError{assignment.where,
                             "property " + narrow(assignment.property) + " assigned twice"};
        assigned[index] = true;
        std::string problem;
        std::optional<Value> value =
            TypeCheck::conform(assignment.value, cls->properties[index].type, problem);
        if (!value)
            throw ApplyError{assignment.where,
                             narrow(cls->properties[index].name) + ": " + problem};
        instance->values[index] = std::move(*value);
    }
    for (std::size_t i = 0; i < cls->properties.size(); ++i)
        if (cls->properties[i].key && instance->values[i].isNull())
            throw ApplyError{decl.where,
                             "key property " + narrow(cls->properties[i].name) + " has no value"};
    instance->cls = std::move(cls);
    return instance;
}

void RepositoryBuilder::apply(const Statement& statement) {
    std::visit([this](const auto& decl) { apply(decl); }, statement);
}

void RepositoryBuilder::apply(const NamespaceDecl& decl) { ensureNamespace(decl.ns); }

void RepositoryBuilder::apply(const ClassDecl& decl) {
    Namespace& ns = ensureNamespace(decl.ns);
    std::shared_ptr<const ClassDef> superclass;
    if (!decl.superclass.empty()) {
        superclass = ns.findClass(decl.superclass);
        if (!superclass || superclass->isA(decl.name))
            throw ApplyError{decl.where, "unknown superclass " + narrow(decl.superclass)};
    }
    ns.putClass(ClassFactory::build(decl, superclass.get()));
}

void RepositoryBuilder::apply(const InstanceDecl& decl) {
    Namespace& ns = ensureNamespace(decl.ns);
    std::shared_ptr<const ClassDef> cls = ns.findClass(decl.className);
    if (!cls) throw ApplyError{decl.where, "unknown class " + narrow(decl.className)};
    ns.putInstance(makeInstance(std::move(cls), decl));
}

void RepositoryBuilder::apply(const PutInstanceDecl& decl) {
    Namespace& ns = ensureNamespace(decl.ns);
    const ClassDef& registered = *decl.instance->cls;
    std::shared_ptr<const ClassDef> cls = ns.findClass(registered.name);
    if (!cls) throw ApplyError{decl.where, "unknown class " + narrow(registered.name)};
    if (cls.get() == &registered) {
        ns.putInstance(decl.instance);
        return;
    }
    InstanceDecl again{decl.where, decl.ns, registered.name, {}};
    for (std::size_t i = 0; i < registered.properties.size(); ++i)
        if (!decl.instance->values[i].isNull())
            again.assignments.push_back(
                {registered.properties[i].name, decl.instance->values[i], decl.where});
    ns.putInstance(makeInstance(std::move(cls), again));
}

void RepositoryBuilder::apply(const DeleteClassDecl& decl) {
    Namespace* ns = findNamespace(decl.ns);
    if (ns != nullptr && ns->findClass(decl.className)) {
        ns->removeClass(decl.className);
    } else if (!decl.noFail) {
        throw ApplyError{decl.where, "cannot delete unknown class " + narrow(decl.className)};
    }
}

void RepositoryBuilder::apply(const DeleteInstanceDecl& decl) {
    // Replays a deletion made through the management interfaces; one that no longer finds its
    // instance (the sources changed since) does nothing.
    Namespace* ns = findNamespace(decl.ns);
    if (ns == nullptr) return;
    std::shared_ptr<const Instance> instance = ns->findInstance(decl.path);
    if (instance) ns->removeInstance(*instance->cls, instance->values);
}

Namespace& RepositoryBuilder::ensureNamespace(const std::wstring& name) {
    std::size_t end = 0;
    Namespace* ns = nullptr;
    do {
        end = name.find(L'\\', end + 1);
        const std::wstring prefix = name.substr(0, end);
        auto [entry, added] = namespaces_.try_emplace(Snapshot::canonicalName(prefix), prefix);
        ns = &entry->second;
    } while (end != std::wstring::npos);
    return *ns;
}

}  // namespace nvx4::repository
