// The system properties every class and instance object has, in the order GetNames lists them:
// __GENUS, __CLASS, __SUPERCLASS, __DYNASTY, __RELPATH, __PROPERTY_COUNT, __DERIVATION, __SERVER,
// __NAMESPACE, __PATH.
#ifndef NVX4_PLATFORM_SYSTEMPROPERTIES_H
#define NVX4_PLATFORM_SYSTEMPROPERTIES_H

#include <string>
#include <string_view>
#include <vector>

#include "WbemClassObject.h"
#include "nvx4/repository/CimType.h"
#include "nvx4/repository/Value.h"

namespace nvx4::platform {

class SystemProperties {
  public:
    static const std::vector<std::wstring>& names();
    // Names that begin with two underscores are system property names.
    static bool isSystem(std::wstring_view name) {
        return name.size() >= 2 && name[0] == L'_' && name[1] == L'_';
    }
    // The same for a NUL-terminated name, without measuring it.
    static bool isSystem(const wchar_t* name) { return name[0] == L'_' && name[1] == L'_'; }
    // The value and type of a system property of an object; false for an unknown name.
    static bool value(std::wstring_view name, const WbemClassObject& object,
                      repository::Value& value, repository::ValueType& type);
};

}  // namespace nvx4::platform

#endif
