#include "nvx4/repository/ClassDef.h"

#include "nvx4/repository/Names.h"

namespace nvx4::repository {

const Value* QualifierList::find(std::wstring_view name) const {
    for (const Qualifier& qualifier : items)
        if (Names::same(qualifier.name, name)) return &qualifier.value;
    return nullptr;
}

bool QualifierList::isSet(std::wstring_view name) const {
    const Value* value = find(name);
    return value != nullptr && value->kind() == Value::Kind::Boolean && value->asBoolean();
}

int ClassDef::propertyIndex(std::wstring_view propertyName) const {
    if (propertyTable_.count() == properties.size() && !properties.empty())
        return propertyTable_.find(propertyName, [&](int position) {
            return Names::same(properties[position].name, propertyName);
        });
    for (std::size_t i = 0; i < properties.size(); ++i)
        if (Names::same(properties[i].name, propertyName)) return static_cast<int>(i);
    return -1;
}

void ClassDef::indexProperties() {
    propertyTable_.reset(properties.size());
    for (std::size_t i = 0; i < properties.size(); ++i)
        propertyTable_.add(properties[i].name, static_cast<int>(i));
}

const MethodDef* ClassDef::findMethod(std::wstring_view methodName) const {
    for (const MethodDef& method : methods)
        if (Names::same(method.name, methodName)) return &method;
    return nullptr;
}

bool ClassDef::isA(std::wstring_view className) const {
    if (Names::same(name, className)) return true;
    for (const std::wstring& ancestor : derivation)
        if (Names::same(ancestor, className)) return true;
    return false;
}

bool ClassDef::hasKeys() const {
    for (const PropertyDef& property : properties)
        if (property.key) return true;
    return false;
}

}  // namespace nvx4::repository
