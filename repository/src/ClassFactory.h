// Builds the class in effect from a class declaration and its superclass: inherited features
// first, own features checked (unique names, overrides of the same type, defaults of the declared
// type, keys not arrays) and method parameter classes made.
#ifndef NVX4_REPOSITORY_CLASSFACTORY_H
#define NVX4_REPOSITORY_CLASSFACTORY_H

#include <memory>

#include "MofDocument.h"
#include "nvx4/repository/ClassDef.h"

namespace nvx4::repository {

class ClassFactory {
  public:
    static constexpr wchar_t kParametersClass[] = L"__PARAMETERS";

    // Throws ApplyError.
    static std::shared_ptr<const ClassDef> build(const ClassDecl& decl, const ClassDef* superclass);

  private:
    static void addProperty(ClassDef& cls, const PropertyDecl& decl);
    static void addMethod(ClassDef& cls, const MethodDecl& decl);
    static std::shared_ptr<const ClassDef> signature(const MethodDef& method, bool in);
};

}  // namespace nvx4::repository

#endif
