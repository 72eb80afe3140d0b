// Object paths: [\\server\namespace:]Class, Class.Key=value[,Key=value...], Class=value (the one
// key) and Class=@ (a singleton). Key values are quoted strings (with \" and \\ escapes),
// integers, reals, TRUE or FALSE.
#ifndef NVX4_REPOSITORY_OBJECTPATH_H
#define NVX4_REPOSITORY_OBJECTPATH_H

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nvx4/repository/ClassDef.h"
#include "nvx4/repository/Value.h"

namespace nvx4::repository {

struct ObjectPath {
    std::wstring server;  // empty when the path has no server part
    std::wstring ns;      // empty when the path has no namespace part
    std::wstring className;
    bool singleton = false;
    // The key values; one with an empty name for the Class=value form.
    std::vector<std::pair<std::wstring, Value>> keys;

    bool isClass() const { return !singleton && keys.empty(); }

    static std::optional<ObjectPath> parse(std::wstring_view text);

    // The relative path of an instance with these values (keys in alphabetical order, as the
    // management service writes them); empty when the class has no key or a key has no value.
    static std::wstring relativePath(const ClassDef& cls, const std::vector<Value>& values);
    // A key value as it is written in a path.
    static std::wstring formatKey(const Value& value);
};

}  // namespace nvx4::repository

#endif
