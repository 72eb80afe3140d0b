#include "nvx4/repository/Value.h"

#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

Value Value::text(std::string_view value) { return text(Utf8::toWide(value)); }

const char* Value::describe() const {
    switch (kind()) {
        case Kind::Null:
            return "NULL";
        case Kind::Signed:
        case Kind::Unsigned:
            return "an integer";
        case Kind::Real:
            return "a real";
        case Kind::Boolean:
            return "a boolean";
        case Kind::Text:
            return "a string";
        case Kind::Array:
            return "an array";
    }
    return "a value";
}

}  // namespace nvx4::repository
