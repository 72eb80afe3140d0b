// Reads the MOF subset of the repository's sources into a MofDocument:
//   #pragma namespace("\\\\.\\root\\x") or ("root\\x") or ("child"), #pragma deleteclass("C",
//   NOFAIL) [qualifiers] class Name [: Super] { [key] type Name [= value]; type Name[]; type M([in]
//   type p); }; instance of Name { Property = value; };
// Values are strings (escapes, adjacent strings joined), characters, decimal and hex integers with
// a sign, reals, TRUE, FALSE, NULL and { ... } arrays. Types and values are checked later, when
// the document is applied to the repository.
#ifndef NVX4_REPOSITORY_MOFPARSER_H
#define NVX4_REPOSITORY_MOFPARSER_H

#include <optional>
#include <string>
#include <string_view>

#include "MofDocument.h"
#include "MofLexer.h"
#include "nvx4/repository/LoadError.h"

namespace nvx4::repository {

class MofParser {
  public:
    static constexpr wchar_t kDefaultNamespace[] = L"root\\nvx4\\node";

    // The document, or nullopt with the first error in `error`.
    static std::optional<MofDocument> parse(std::string_view text, const std::string& name,
                                            LoadError& error);

  private:
    explicit MofParser(std::string_view text) : lexer_(text) { advance(); }

    void document(MofDocument& document);
    void pragma(MofDocument& document);
    ClassDecl classDeclaration(QualifierList qualifiers, Position where);
    void feature(ClassDecl& decl);
    MethodDecl method(QualifierList qualifiers, std::optional<ValueType> returnType,
                      std::wstring name, Position where);
    InstanceDecl instanceDeclaration(Position where);
    QualifierList qualifierList();
    ValueType type(bool allowVoid, bool& isVoid);
    Value initializer();
    Value literal();
    std::wstring namespaceFrom(const std::string& text, Position where) const;

    void advance() { token_ = lexer_.next(); }
    Token expect(Token::Kind kind, const char* what);
    void expectPunct(char c);
    std::wstring name(const char* what);
    [[noreturn]] void fail(Position where, std::string message) const;

    MofLexer lexer_;
    Token token_;
    std::wstring namespace_ = kDefaultNamespace;
};

}  // namespace nvx4::repository

#endif
