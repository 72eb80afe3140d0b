#include "ClassFactory.h"

#include "ApplyError.h"
#include "nvx4/repository/Names.h"
#include "nvx4/repository/TypeCheck.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

std::string narrow(const std::wstring& text) { return Utf8::toNarrow(text); }

}  // namespace

std::shared_ptr<const ClassDef> ClassFactory::build(const ClassDecl& decl,
                                                    const ClassDef* superclass) {
    auto cls = std::make_shared<ClassDef>();
    cls->name = decl.name;
    cls->qualifiers = decl.qualifiers;
    if (superclass != nullptr) {
        cls->superclass = superclass->name;
        cls->derivation.push_back(superclass->name);
        cls->derivation.insert(cls->derivation.end(), superclass->derivation.begin(),
                               superclass->derivation.end());
        cls->properties = superclass->properties;
        cls->methods = superclass->methods;
    }
    const std::size_t inherited = cls->properties.size();
    for (const PropertyDecl& property : decl.properties) {
        for (std::size_t i = inherited; i < cls->properties.size(); ++i)
            if (Names::same(cls->properties[i].name, property.def.name))
                throw ApplyError{property.where,
                                 "property " + narrow(property.def.name) + " declared twice"};
        addProperty(*cls, property);
    }
    const std::size_t inheritedMethods = cls->methods.size();
    for (const MethodDecl& method : decl.methods) {
        for (std::size_t i = inheritedMethods; i < cls->methods.size(); ++i)
            if (Names::same(cls->methods[i].name, method.def.name))
                throw ApplyError{method.where,
                                 "method " + narrow(method.def.name) + " declared twice"};
        if (cls->propertyIndex(method.def.name) >= 0)
            throw ApplyError{method.where,
                             "method " + narrow(method.def.name) + " has the name of a property"};
        addMethod(*cls, method);
    }
    cls->indexProperties();
    return cls;
}

void ClassFactory::addProperty(ClassDef& cls, const PropertyDecl& decl) {
    PropertyDef property = decl.def;
    property.origin = cls.name;
    property.key = property.qualifiers.isSet(L"key");
    const int existing = cls.propertyIndex(property.name);
    if (existing >= 0) {
        const PropertyDef& base = cls.properties[existing];
        if (base.type != property.type)
            throw ApplyError{decl.where, "property " + narrow(property.name) +
                                             " overrides an inherited property of type " +
                                             base.type.name()};
        property.origin = base.origin;
        property.key = property.key || base.key;
        if (!decl.initializer) property.defaultValue = base.defaultValue;
    }
    if (property.key && property.type.array)
        throw ApplyError{decl.where,
                         "array property " + narrow(property.name) + " cannot be a key"};
    if (decl.initializer) {
        std::string problem;
        std::optional<Value> value = TypeCheck::conform(*decl.initializer, property.type, problem);
        if (!value) throw ApplyError{decl.where, narrow(property.name) + ": " + problem};
        property.defaultValue = std::move(*value);
    }
    if (existing >= 0)
        cls.properties[existing] = std::move(property);
    else
        cls.properties.push_back(std::move(property));
}

void ClassFactory::addMethod(ClassDef& cls, const MethodDecl& decl) {
    MethodDef method = decl.def;
    method.origin = cls.name;
    for (std::size_t i = 0; i < method.parameters.size(); ++i)
        for (std::size_t k = 0; k < i; ++k)
            if (Names::same(method.parameters[i].name, method.parameters[k].name))
                throw ApplyError{decl.where, "parameter " + narrow(method.parameters[i].name) +
                                                 " declared twice"};
    method.inSignature = signature(method, true);
    method.outSignature = signature(method, false);
    for (MethodDef& existing : cls.methods) {
        if (Names::same(existing.name, method.name)) {
            method.origin = existing.origin;
            existing = std::move(method);
            return;
        }
    }
    cls.methods.push_back(std::move(method));
}

std::shared_ptr<const ClassDef> ClassFactory::signature(const MethodDef& method, bool in) {
    auto cls = std::make_shared<ClassDef>();
    cls->name = kParametersClass;
    if (!in && method.returnType) {
        PropertyDef result;
        result.name = ClassDef::kReturnValue;
        result.type = *method.returnType;
        result.qualifiers.items.push_back({L"out", Value::boolean(true)});
        result.origin = kParametersClass;
        cls->properties.push_back(std::move(result));
    }
    for (const ParameterDef& parameter : method.parameters) {
        if (in ? !parameter.in : !parameter.out) continue;
        PropertyDef property;
        property.name = parameter.name;
        property.type = parameter.type;
        property.qualifiers = parameter.qualifiers;
        property.origin = kParametersClass;
        cls->properties.push_back(std::move(property));
    }
    if (cls->properties.empty()) return nullptr;
    cls->indexProperties();
    return cls;
}

}  // namespace nvx4::repository
