// The statements of one source (a MOF file, or a registration), in source order, each with the
// namespace it applies to and its place in the source for error messages.
#ifndef NVX4_REPOSITORY_MOFDOCUMENT_H
#define NVX4_REPOSITORY_MOFDOCUMENT_H

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "nvx4/repository/ClassDef.h"
#include "nvx4/repository/Instance.h"
#include "nvx4/repository/ObjectPath.h"
#include "nvx4/repository/Value.h"

namespace nvx4::repository {

struct Position {
    int line = 0;
    int column = 0;
};

struct PropertyDecl {
    PropertyDef def;  // name, type and qualifiers
    std::optional<Value> initializer;
    Position where;
};

struct MethodDecl {
    MethodDef def;  // name, result type, parameters and qualifiers
    Position where;
};

struct ClassDecl {
    Position where;
    std::wstring ns;
    std::wstring name;
    std::wstring superclass;
    QualifierList qualifiers;
    std::vector<PropertyDecl> properties;
    std::vector<MethodDecl> methods;
};

struct Assignment {
    std::wstring property;
    Value value;
    Position where;
};

struct InstanceDecl {
    Position where;
    std::wstring ns;
    std::wstring className;
    std::vector<Assignment> assignments;
};

struct DeleteClassDecl {
    Position where;
    std::wstring ns;
    std::wstring className;
    bool noFail = false;
};

struct DeleteInstanceDecl {
    Position where;
    std::wstring ns;
    ObjectPath path;
};

// An instance built and checked when it was registered; applied again as it is while its class
// stays the same, else checked again against the class in effect.
struct PutInstanceDecl {
    Position where;
    std::wstring ns;
    std::shared_ptr<const Instance> instance;
};

struct NamespaceDecl {
    Position where;
    std::wstring ns;
};

using Statement = std::variant<NamespaceDecl, ClassDecl, InstanceDecl, PutInstanceDecl,
                               DeleteClassDecl, DeleteInstanceDecl>;

struct MofDocument {
    std::string name;
    std::vector<Statement> statements;
};

}  // namespace nvx4::repository

#endif
