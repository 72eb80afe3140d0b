#include "WMIPropertyNames.h"

#include "WMIException.h"
#include "WMIText.h"

WMIPropertyNames::~WMIPropertyNames() {
    for (Entry& entry : entries_) SysFreeString(entry.wide);
}

const wchar_t* WMIPropertyNames::wide(const std::string& name) {
    if (expected_ >= entries_.size()) expected_ = 0;
    if (expected_ < entries_.size() && entries_[expected_].name == name)
        return entries_[expected_++].wide;
    const auto known = positions_.find(name);
    if (known != positions_.end()) {
        expected_ = known->second + 1;
        return entries_[known->second].wide;
    }
    BSTR converted = toBstr(name);
    if (converted == nullptr) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    try {
        entries_.push_back({name, converted});
    } catch (...) {
        SysFreeString(converted);
        throw;
    }
    try {
        positions_.emplace(name, entries_.size() - 1);
    } catch (...) {
        SysFreeString(converted);
        entries_.pop_back();
        throw;
    }
    expected_ = entries_.size();
    return converted;
}
