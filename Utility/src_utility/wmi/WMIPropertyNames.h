// The wide names of the properties a result set reads, each converted once: every row reads the
// same properties, usually in the same order, so converting a name on every read would only
// repeat work. The next name in the order of the previous reads is found without a search.
#ifndef WMIPROPERTYNAMES_H
#define WMIPROPERTYNAMES_H

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "BstrHolder.h"

class WMIPropertyNames {
  public:
    WMIPropertyNames() = default;

    // The name converted from the ANSI code page, valid as long as this object. Raises
    // WMIException E_OUTOFMEMORY when it cannot be allocated.
    const wchar_t* wide(const std::string& name);

  private:
    struct Entry {
        std::string name;
        BstrHolder wide;
    };

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> positions_;
    std::size_t expected_ = 0;  // the entry after the one read last
};

#endif
