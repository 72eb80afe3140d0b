#include "WMIPropertyNames.h"

#include <utility>

const wchar_t* WMIPropertyNames::wide(const std::string& name) {
    if (expected_ >= entries_.size()) expected_ = 0;
    if (expected_ < entries_.size() && entries_[expected_].name == name)
        return entries_[expected_++].wide.get();
    const auto known = positions_.find(name);
    if (known != positions_.end()) {
        expected_ = known->second + 1;
        return entries_[known->second].wide.get();
    }
    Entry entry{name, BstrHolder(name)};
    // Room is made before the name is indexed, so that storing the entry afterwards cannot fail
    // and leave an index without its entry.
    if (entries_.size() == entries_.capacity()) entries_.reserve(2 * entries_.size() + 1);
    positions_.emplace(name, entries_.size());
    entries_.push_back(std::move(entry));
    expected_ = entries_.size();
    return entries_.back().wide.get();
}
