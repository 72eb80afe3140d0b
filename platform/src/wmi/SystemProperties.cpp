#include "SystemProperties.h"

#include "nvx4/repository/Names.h"
#include "nvx4/repository/ObjectPath.h"

namespace nvx4::platform {

using repository::CimType;
using repository::Names;
using repository::ObjectPath;
using repository::Value;
using repository::ValueType;

namespace {

enum Property {
    Genus,
    Class,
    Superclass,
    Dynasty,
    RelPath,
    PropertyCount,
    Derivation,
    Server,
    NamespaceName,
    Path
};

Value textOrNull(const std::wstring& text) { return text.empty() ? Value() : Value::text(text); }

std::wstring relativePath(const WbemClassObject& object) {
    if (object.isClass()) return object.classDef().name;
    return ObjectPath::relativePath(object.classDef(), object.values());
}

std::wstring fullPath(const WbemClassObject& object) {
    const ObjectOrigin& origin = object.origin();
    const std::wstring relative = relativePath(object);
    if (origin.server.empty() || origin.ns.empty() || relative.empty()) return std::wstring();
    return L"\\\\" + origin.server + L"\\" + origin.ns + L":" + relative;
}

Value derivation(const WbemClassObject& object) {
    std::vector<Value> ancestors;
    for (const std::wstring& ancestor : object.classDef().derivation)
        ancestors.push_back(Value::text(ancestor));
    return Value::array(std::move(ancestors));
}

}  // namespace

const std::vector<std::wstring>& SystemProperties::names() {
    static const std::vector<std::wstring> kNames = {
        L"__GENUS",          L"__CLASS",      L"__SUPERCLASS", L"__DYNASTY",   L"__RELPATH",
        L"__PROPERTY_COUNT", L"__DERIVATION", L"__SERVER",     L"__NAMESPACE", L"__PATH"};
    return kNames;
}

bool SystemProperties::value(std::wstring_view name, const WbemClassObject& object, Value& value,
                             ValueType& type) {
    const std::vector<std::wstring>& all = names();
    std::size_t index = 0;
    while (index < all.size() && !Names::same(all[index], name)) ++index;
    const repository::ClassDef& cls = object.classDef();
    type = ValueType{CimType::String, false};
    switch (index) {
        case Genus:
            type.base = CimType::Sint32;
            value = Value::integer(object.isClass() ? WBEM_GENUS_CLASS : WBEM_GENUS_INSTANCE);
            return true;
        case Class:
            value = Value::text(cls.name);
            return true;
        case Superclass:
            value = textOrNull(cls.superclass);
            return true;
        case Dynasty:
            value = Value::text(cls.dynasty());
            return true;
        case RelPath:
            value = textOrNull(relativePath(object));
            return true;
        case PropertyCount:
            type.base = CimType::Sint32;
            value = Value::integer(static_cast<std::int64_t>(cls.properties.size()));
            return true;
        case Derivation:
            type.array = true;
            value = derivation(object);
            return true;
        case Server:
            value = textOrNull(object.origin().server);
            return true;
        case NamespaceName:
            value = textOrNull(object.origin().ns);
            return true;
        case Path:
            value = textOrNull(fullPath(object));
            return true;
        default:
            return false;
    }
}

}  // namespace nvx4::platform
