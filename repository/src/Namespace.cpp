#include "nvx4/repository/Namespace.h"

#include "nvx4/repository/Names.h"
#include "nvx4/repository/TypeCheck.h"

namespace nvx4::repository {

std::shared_ptr<const ClassDef> Namespace::findClass(std::wstring_view className) const {
    auto found = classIndex_.find(Names::folded(className));
    return found == classIndex_.end() ? nullptr : classes_[found->second];
}

const Namespace::InstanceList& Namespace::instancesOf(std::wstring_view className,
                                                      bool deep) const {
    static const InstanceList kNone;
    const auto& lists = deep ? deep_ : shallow_;
    auto found = lists.find(Names::folded(className));
    return found == lists.end() ? kNone : found->second;
}

std::shared_ptr<const Instance> Namespace::findInstance(const ObjectPath& path) const {
    std::shared_ptr<const ClassDef> cls = findClass(path.className);
    if (!cls || path.isClass()) return nullptr;
    if (path.singleton) return cls->singleton() ? findInstance(*cls, {}) : nullptr;
    std::vector<Value> values(cls->properties.size());
    for (const auto& [name, value] : path.keys) {
        int index = -1;
        if (name.empty()) {
            // Class=value names the class's one key.
            for (std::size_t i = 0; i < cls->properties.size(); ++i) {
                if (!cls->properties[i].key) continue;
                if (index >= 0) return nullptr;
                index = static_cast<int>(i);
            }
        } else {
            index = cls->propertyIndex(name);
        }
        if (index < 0 || !cls->properties[index].key) return nullptr;
        std::string problem;
        std::optional<Value> conformed =
            TypeCheck::conform(value, cls->properties[index].type, problem);
        if (!conformed) return nullptr;
        values[index] = std::move(*conformed);
    }
    return findInstance(*cls, values);
}

std::shared_ptr<const Instance> Namespace::findInstance(const ClassDef& cls,
                                                        const std::vector<Value>& values) const {
    const std::wstring key = keyOf(cls, values);
    if (key.empty()) return nullptr;
    auto found = findKey(key);
    return found == instanceIndex_.end() ? nullptr : instances_[found->second];
}

Namespace::KeyIndex::const_iterator Namespace::findKey(const std::wstring& key) const {
    auto [candidate, last] = instanceIndex_.equal_range(hashOf(key));
    for (; candidate != last; ++candidate) {
        const Instance& instance = *instances_[candidate->second];
        if (keyOf(*instance.cls, instance.values) == key) return candidate;
    }
    return instanceIndex_.end();
}

void Namespace::forgetKey(const std::wstring& key) {
    auto found = findKey(key);
    if (found != instanceIndex_.end()) instanceIndex_.erase(found);
}

void Namespace::putClass(std::shared_ptr<const ClassDef> cls) {
    if (findClass(cls->name)) removeClass(cls->name);
    classIndex_.emplace(Names::folded(cls->name), classes_.size());
    classes_.push_back(std::move(cls));
}

void Namespace::removeClass(std::wstring_view className) {
    const std::wstring removed(className);
    auto isGone = [&](const ClassDef& cls) { return cls.isA(removed); };
    for (std::size_t i = 0; i < instances_.size(); ++i) {
        if (!instances_[i] || !isGone(*instances_[i]->cls)) continue;
        forgetKey(keyOf(*instances_[i]->cls, instances_[i]->values));
        instances_[i].reset();
    }
    std::vector<std::shared_ptr<const ClassDef>> kept;
    for (auto& cls : classes_)
        if (!isGone(*cls)) kept.push_back(std::move(cls));
    classes_ = std::move(kept);
    reindexClasses();
}

void Namespace::putInstance(std::shared_ptr<const Instance> instance) {
    const std::wstring key = keyOf(*instance->cls, instance->values);
    if (!key.empty()) {
        auto found = findKey(key);
        if (found != instanceIndex_.end()) {
            instances_[found->second] = std::move(instance);
            return;
        }
    }
    instances_.push_back(std::move(instance));
    if (!key.empty()) instanceIndex_.emplace(hashOf(key), instances_.size() - 1);
}

bool Namespace::removeInstance(const ClassDef& cls, const std::vector<Value>& values) {
    const std::wstring key = keyOf(cls, values);
    if (key.empty()) return false;
    auto found = findKey(key);
    if (found == instanceIndex_.end()) return false;
    instances_[found->second].reset();
    instanceIndex_.erase(found);
    return true;
}

void Namespace::index() {
    InstanceList kept;
    kept.reserve(instances_.size());
    instanceIndex_.clear();
    deep_.clear();
    shallow_.clear();
    for (auto& instance : instances_) {
        if (!instance) continue;
        const ClassDef& cls = *instance->cls;
        const std::wstring key = keyOf(cls, instance->values);
        if (!key.empty()) instanceIndex_.emplace(hashOf(key), kept.size());
        shallow_[Names::folded(cls.name)].push_back(instance);
        deep_[Names::folded(cls.name)].push_back(instance);
        for (const std::wstring& ancestor : cls.derivation)
            deep_[Names::folded(ancestor)].push_back(instance);
        kept.push_back(std::move(instance));
    }
    instances_ = std::move(kept);
}

std::wstring Namespace::keyOf(const ClassDef& cls, const std::vector<Value>& values) {
    // The key path names the dynasty, so that a subclass instance and a base class instance with
    // the same key are one object, as they are to the management service.
    std::wstring path = ObjectPath::relativePath(cls, values);
    if (path.empty()) return path;
    return Names::folded(cls.dynasty() + path.substr(cls.name.size()));
}

void Namespace::reindexClasses() {
    classIndex_.clear();
    for (std::size_t i = 0; i < classes_.size(); ++i)
        classIndex_.emplace(Names::folded(classes_[i]->name), i);
}

}  // namespace nvx4::repository
