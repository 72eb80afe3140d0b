#include "nvx4/repository/Repository.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

#include "ApplyError.h"
#include "EmbeddedSources.h"
#include "MofParser.h"
#include "RepositoryBuilder.h"
#include "SourceCache.h"
#include "SourceList.h"
#include "nvx4/repository/Names.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

constexpr char kRegistered[] = "<registered>";

std::optional<std::string> currentSetting() {
    const char* setting = std::getenv(kRepositoryVariable);
    return setting ? std::optional<std::string>(setting) : std::nullopt;
}

struct State {
    std::mutex mutex;
    SourceCache files;
    std::vector<std::shared_ptr<const MofDocument>> registrations;
    std::map<std::wstring, MethodHandler> handlers;
    // What the builder was made from: the source list and the stamps of its files.
    std::optional<std::string> setting;
    std::vector<SourceCache::Stamp> stamps;
    // Every publisher made so far, by source entry; kept for the process's life, as they keep
    // their previous readings.
    std::map<std::string, std::shared_ptr<Publisher>> publishers;
    Snapshot::PublisherList active;
    // Null when it must be built again; never holds a failed load.
    std::unique_ptr<RepositoryBuilder> builder;
    std::shared_ptr<const Snapshot> frozen;
    std::optional<LoadError> error;
};

State& state() {
    static State instance;
    return instance;
}

std::optional<LoadError> applySource(RepositoryBuilder& builder, const ParsedSource& source) {
    if (!source.document) return source.error;
    return builder.apply(*source.document);
}

std::optional<LoadError> usePublisher(State& s, const SourceEntry& entry) {
    std::shared_ptr<Publisher>& publisher = s.publishers[entry.text];
    if (!publisher) {
        try {
            publisher = PublisherCatalog::find(entry.name)(entry.argument);
        } catch (const std::invalid_argument& e) {
            s.publishers.erase(entry.text);
            return LoadError{entry.text, 0, 0, e.what()};
        }
    }
    s.active.push_back(publisher);
    return std::nullopt;
}

std::optional<LoadError> applyEntry(State& s, RepositoryBuilder& builder, const SourceEntry& entry,
                                    const SourceCache::Stamp& stamp) {
    switch (entry.kind) {
        case SourceEntry::Kind::File:
            return applySource(builder, s.files.load(entry.text, stamp));
        case SourceEntry::Kind::Sample:
            for (const ParsedSource& sample : EmbeddedSources::samples())
                if (auto error = applySource(builder, sample)) return error;
            return std::nullopt;
        case SourceEntry::Kind::Publisher:
            return usePublisher(s, entry);
    }
    return std::nullopt;
}

std::optional<LoadError> build(State& s, const std::vector<SourceEntry>& entries) {
    auto builder = std::make_unique<RepositoryBuilder>();
    s.active.clear();
    if (auto error = applySource(*builder, EmbeddedSources::schema())) return error;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (auto error = applyEntry(s, *builder, entries[i], s.stamps[i])) return error;
    for (const auto& document : s.registrations)
        if (auto error = builder->apply(*document)) return error;
    s.builder = std::move(builder);
    return std::nullopt;
}

SourceCache::Stamp stampOf(const SourceEntry& entry) {
    return entry.kind == SourceEntry::Kind::File ? SourceCache::stamp(entry.text)
                                                 : SourceCache::Stamp();
}

// Brings the builder up to date with the sources; called with the mutex held.
std::optional<LoadError> refresh(State& s) {
    std::optional<std::string> setting = currentSetting();
    const std::vector<SourceEntry> entries = SourceList::parse(setting);
    std::vector<SourceCache::Stamp> stamps;
    for (const SourceEntry& entry : entries) stamps.push_back(stampOf(entry));
    if (s.builder && setting == s.setting && stamps == s.stamps) return std::nullopt;
    s.setting = std::move(setting);
    s.stamps = std::move(stamps);
    s.builder.reset();
    s.frozen.reset();
    s.error = build(s, entries);
    return s.error;
}

std::optional<LoadError> registerDocument(std::shared_ptr<const MofDocument> document) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto error = refresh(s)) return error;
    if (auto error = s.builder->apply(*document)) {
        // Part of the document may be applied: build again without it.
        s.builder.reset();
        return error;
    }
    s.registrations.push_back(std::move(document));
    s.frozen.reset();
    return std::nullopt;
}

std::shared_ptr<MofDocument> registration(Statement statement) {
    auto document = std::make_shared<MofDocument>();
    document->name = kRegistered;
    document->statements.push_back(std::move(statement));
    return document;
}

std::wstring handlerKey(const std::wstring& ns, const std::wstring& className,
                        const std::wstring& method) {
    return Snapshot::canonicalName(ns) + L"|" + Names::folded(className) + L"|" +
           Names::folded(method);
}

InstanceDecl instanceDecl(const std::wstring& ns, const std::wstring& className,
                          const PropertyValues& values) {
    InstanceDecl decl{{}, ns, className, {}};
    for (const auto& [name, value] : values) decl.assignments.push_back({name, value, {}});
    return decl;
}

// Instances checked against the builder's classes, as statements to register.
std::shared_ptr<MofDocument> instanceDocument(State& s, const std::wstring& ns,
                                              const std::wstring& className,
                                              const std::vector<PropertyValues>& instances) {
    Namespace* target = s.builder->findNamespace(ns);
    std::shared_ptr<const ClassDef> cls = target ? target->findClass(className) : nullptr;
    if (!cls) throw ApplyError{{}, "unknown class " + Utf8::toNarrow(className)};
    auto document = std::make_shared<MofDocument>();
    document->name = kRegistered;
    document->statements.reserve(instances.size());
    for (const PropertyValues& values : instances)
        document->statements.push_back(PutInstanceDecl{
            {}, ns, RepositoryBuilder::makeInstance(cls, instanceDecl(ns, className, values))});
    return document;
}

bool keysPresent(const ClassDef& cls, const PropertyValues& values) {
    for (const PropertyDef& property : cls.properties) {
        if (!property.key) continue;
        bool present = false;
        for (const auto& [name, value] : values)
            if (Names::same(name, property.name) && !value.isNull()) present = true;
        if (!present) return false;
    }
    return true;
}

}  // namespace

std::shared_ptr<const Snapshot> Repository::current() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (refresh(s)) return nullptr;
    if (!s.frozen) s.frozen = s.builder->freeze(s.active);
    return s.frozen;
}

std::optional<LoadError> Repository::lastError() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.error;
}

std::optional<LoadError> Repository::addMof(std::string_view text, const std::string& name) {
    LoadError error;
    std::optional<MofDocument> document = MofParser::parse(text, name, error);
    if (!document) return error;
    return registerDocument(std::make_shared<const MofDocument>(std::move(*document)));
}

std::optional<LoadError> Repository::declareClass(const ClassSpec& definition) {
    ClassDecl decl;
    decl.ns = definition.ns;
    decl.name = definition.name;
    decl.superclass = definition.superclass;
    for (const PropertySpec& property : definition.properties) {
        PropertyDecl declared;
        declared.def.name = property.name;
        declared.def.type = ValueType{property.type, property.array};
        if (property.key) declared.def.qualifiers.items.push_back({L"key", Value::boolean(true)});
        decl.properties.push_back(std::move(declared));
    }
    return registerDocument(registration(std::move(decl)));
}

std::optional<LoadError> Repository::addInstance(const std::wstring& className,
                                                 const PropertyValues& values,
                                                 const std::wstring& ns) {
    return addInstances(className, {values}, ns);
}

std::optional<LoadError> Repository::addInstances(const std::wstring& className,
                                                  const std::vector<PropertyValues>& instances,
                                                  const std::wstring& ns) {
    State& s = state();
    std::shared_ptr<MofDocument> document;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (auto error = refresh(s)) return error;
        try {
            document = instanceDocument(s, ns, className, instances);
        } catch (const ApplyError& e) {
            return LoadError{kRegistered, 0, 0, e.message};
        }
    }
    return registerDocument(std::move(document));
}

void Repository::setMethodHandler(const std::wstring& className, const std::wstring& method,
                                  MethodHandler handler, const std::wstring& ns) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.handlers[handlerKey(ns, className, method)] = std::move(handler);
}

void Repository::clearRegistrations() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.registrations.clear();
    s.handlers.clear();
    s.publishers.clear();
    s.builder.reset();
    s.frozen.reset();
}

ChangeStatus Repository::putInstance(const std::wstring& ns, const std::wstring& className,
                                     const PropertyValues& values, PutMode mode) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (refresh(s)) return ChangeStatus::LoadFailed;
    Namespace* target = s.builder->findNamespace(ns);
    std::shared_ptr<const ClassDef> cls = target ? target->findClass(className) : nullptr;
    if (!cls) return ChangeStatus::InvalidClass;
    if (!keysPresent(*cls, values)) return ChangeStatus::MissingKey;
    std::shared_ptr<const Instance> instance;
    try {
        instance = RepositoryBuilder::makeInstance(cls, instanceDecl(ns, className, values));
    } catch (const ApplyError&) {
        return ChangeStatus::InvalidValue;
    }
    const bool exists = target->findInstance(*cls, instance->values) != nullptr;
    if (mode == PutMode::UpdateOnly && !exists) return ChangeStatus::NotFound;
    if (mode == PutMode::CreateOnly && exists) return ChangeStatus::AlreadyExists;
    target->putInstance(instance);
    s.registrations.push_back(registration(PutInstanceDecl{{}, ns, std::move(instance)}));
    s.frozen.reset();
    return ChangeStatus::Done;
}

ChangeStatus Repository::deleteInstance(const std::wstring& ns, const ObjectPath& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (refresh(s)) return ChangeStatus::LoadFailed;
    Namespace* target = s.builder->findNamespace(ns);
    if (!target || !target->findClass(path.className)) return ChangeStatus::InvalidClass;
    std::shared_ptr<const Instance> instance = target->findInstance(path);
    if (!instance) return ChangeStatus::NotFound;
    target->removeInstance(*instance->cls, instance->values);
    s.registrations.push_back(registration(DeleteInstanceDecl{{}, ns, path}));
    s.frozen.reset();
    return ChangeStatus::Done;
}

MethodHandler Repository::methodHandler(const std::wstring& ns, const ClassDef& cls,
                                        const std::wstring& method) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto find = [&](const std::wstring& className) -> const MethodHandler* {
        auto found = s.handlers.find(handlerKey(ns, className, method));
        return found == s.handlers.end() ? nullptr : &found->second;
    };
    if (const MethodHandler* handler = find(cls.name)) return *handler;
    for (const std::wstring& ancestor : cls.derivation)
        if (const MethodHandler* handler = find(ancestor)) return *handler;
    return MethodHandler();
}

}  // namespace nvx4::repository
