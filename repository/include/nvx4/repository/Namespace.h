// One namespace of the repository: its classes and their instances, both in declaration order.
// A namespace in a Snapshot is immutable; the repository's builder changes its own copies.
#ifndef NVX4_REPOSITORY_NAMESPACE_H
#define NVX4_REPOSITORY_NAMESPACE_H

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nvx4/repository/ClassDef.h"
#include "nvx4/repository/Instance.h"
#include "nvx4/repository/ObjectPath.h"

namespace nvx4::repository {

class Namespace {
  public:
    using InstanceList = std::vector<std::shared_ptr<const Instance>>;

    explicit Namespace(std::wstring name) : name_(std::move(name)) {}

    const std::wstring& name() const { return name_; }
    const std::vector<std::shared_ptr<const ClassDef>>& classes() const { return classes_; }
    std::shared_ptr<const ClassDef> findClass(std::wstring_view className) const;
    // A class's instances in declaration order; with `deep` its subclasses' too. Valid after
    // index() (every namespace of a Snapshot is indexed).
    const InstanceList& instancesOf(std::wstring_view className, bool deep) const;
    // The instance an instance path designates, if any.
    std::shared_ptr<const Instance> findInstance(const ObjectPath& path) const;
    std::shared_ptr<const Instance> findInstance(const ClassDef& cls,
                                                 const std::vector<Value>& values) const;

    // Adds a class, or replaces one of the same name together with its subclasses and all
    // their instances.
    void putClass(std::shared_ptr<const ClassDef> cls);
    // Removes a class, its subclasses and their instances.
    void removeClass(std::wstring_view className);
    // Adds an instance, or replaces the one with the same key in its place.
    void putInstance(std::shared_ptr<const Instance> instance);
    bool removeInstance(const ClassDef& cls, const std::vector<Value>& values);
    // Drops removed instances and builds the per-class lists.
    void index();

  private:
    // Instances with a key, by the hash of their folded key path: the paths themselves are not
    // kept, so the builder allocates nothing between one instance and the next, and the instances
    // of a class end up side by side in memory, which takes about a fifth off enumerating a large
    // class. A match is confirmed by computing the candidate's path again.
    using KeyIndex = std::unordered_multimap<std::size_t, std::size_t>;  // hash -> position

    static std::wstring keyOf(const ClassDef& cls, const std::vector<Value>& values);
    static std::size_t hashOf(const std::wstring& key) { return std::hash<std::wstring>()(key); }
    // The index entry of the instance whose folded key path is `key`, or instanceIndex_.end().
    KeyIndex::const_iterator findKey(const std::wstring& key) const;
    void forgetKey(const std::wstring& key);
    void reindexClasses();

    std::wstring name_;
    std::vector<std::shared_ptr<const ClassDef>> classes_;
    std::unordered_map<std::wstring, std::size_t> classIndex_;  // folded name -> position
    InstanceList instances_;  // null where an instance was removed
    KeyIndex instanceIndex_;
    std::unordered_map<std::wstring, InstanceList> deep_;
    std::unordered_map<std::wstring, InstanceList> shallow_;
};

}  // namespace nvx4::repository

#endif
