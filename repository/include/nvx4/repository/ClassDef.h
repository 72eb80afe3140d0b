// A class of the repository as it is in effect: its own and its inherited properties and methods.
#ifndef NVX4_REPOSITORY_CLASSDEF_H
#define NVX4_REPOSITORY_CLASSDEF_H

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nvx4/repository/CimType.h"
#include "nvx4/repository/NameHashTable.h"
#include "nvx4/repository/Value.h"

namespace nvx4::repository {

class ClassDef;

struct Qualifier {
    std::wstring name;
    Value value;
};

struct QualifierList {
    std::vector<Qualifier> items;

    const Value* find(std::wstring_view name) const;
    // Present with the value TRUE, as a bare [name] is.
    bool isSet(std::wstring_view name) const;
};

struct PropertyDef {
    std::wstring name;
    ValueType type;
    QualifierList qualifiers;
    Value defaultValue;
    std::wstring origin;  // the class that declared it first
    bool key = false;
};

struct ParameterDef {
    std::wstring name;
    ValueType type;
    bool in = false;
    bool out = false;
    QualifierList qualifiers;
};

struct MethodDef {
    std::wstring name;
    std::optional<ValueType> returnType;  // nullopt: void
    std::vector<ParameterDef> parameters;
    QualifierList qualifiers;
    std::wstring origin;
    // The classes of the in- and out-parameter objects (named __PARAMETERS); null when the method
    // has no in-parameters, or neither out-parameters nor a result.
    std::shared_ptr<const ClassDef> inSignature;
    std::shared_ptr<const ClassDef> outSignature;
};

class ClassDef {
  public:
    static constexpr wchar_t kReturnValue[] = L"ReturnValue";

    std::wstring name;
    std::wstring superclass;               // empty for a root class
    std::vector<std::wstring> derivation;  // ancestors, nearest first
    QualifierList qualifiers;
    std::vector<PropertyDef> properties;  // inherited first, then own, in declaration order
    std::vector<MethodDef> methods;

    // Position of a property, or -1. Constant time once the properties are indexed.
    int propertyIndex(std::wstring_view propertyName) const;
    // Indexes the properties by name; called once they are complete. A class whose properties
    // change afterwards must be indexed again (until then lookups search linearly when the
    // number of properties changed).
    void indexProperties();
    const MethodDef* findMethod(std::wstring_view methodName) const;
    // This class or one of its ancestors.
    bool isA(std::wstring_view className) const;
    bool singleton() const { return qualifiers.isSet(L"singleton"); }
    bool hasKeys() const;
    // The root of the class's line of descent.
    const std::wstring& dynasty() const { return derivation.empty() ? name : derivation.back(); }

  private:
    NameHashTable propertyTable_;
};

}  // namespace nvx4::repository

#endif
