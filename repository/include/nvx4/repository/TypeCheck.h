// Checks a value against a CIM type and gives it the canonical form of that type (see Value).
// Integers must be in the type's range, reals finite (and within float range for real32), a
// datetime a 25-character DMTF text, a char16 one character or a code from 0 to 65535.
#ifndef NVX4_REPOSITORY_TYPECHECK_H
#define NVX4_REPOSITORY_TYPECHECK_H

#include <optional>
#include <string>

#include "nvx4/repository/CimType.h"
#include "nvx4/repository/Value.h"

namespace nvx4::repository {

class TypeCheck {
  public:
    // The conformed value, or nullopt with the reason in `problem`.
    static std::optional<Value> conform(const Value& value, ValueType type, std::string& problem);

    static bool isDatetime(const std::wstring& text);
};

}  // namespace nvx4::repository

#endif
