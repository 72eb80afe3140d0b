#include "MofParser.h"

#include <cstdint>
#include <limits>

#include "nvx4/repository/Names.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

constexpr std::uint64_t kMostNegativeMagnitude =
    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;

// Pragmas of full MOF compilers that change nothing in this repository.
bool isIgnoredPragma(const Token& name) {
    return name.isWord("locale") || name.isWord("classflags") || name.isWord("instanceflags") ||
           name.isWord("autorecover");
}

Value integerValue(std::uint64_t magnitude, bool negative) {
    if (negative)
        return magnitude == kMostNegativeMagnitude
                   ? Value::integer(std::numeric_limits<std::int64_t>::min())
                   : Value::integer(-static_cast<std::int64_t>(magnitude));
    if (magnitude <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return Value::integer(static_cast<std::int64_t>(magnitude));
    return Value::unsignedInteger(magnitude);
}

// The byte offset of the first malformed UTF-8 sequence, or npos.
std::size_t firstInvalidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i + 1;
        while (end < text.size() && (text[end] & 0xC0) == 0x80) ++end;
        std::wstring decoded;
        if (!Utf8::decode(text.substr(i, end - i), decoded, true) || decoded.size() != 1) return i;
        i = end;
    }
    return std::string_view::npos;
}

Position positionOf(std::string_view text, std::size_t offset) {
    Position where{1, 1};
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++where.line;
            where.column = 1;
        } else {
            ++where.column;
        }
    }
    return where;
}

}  // namespace

std::optional<MofDocument> MofParser::parse(std::string_view text, const std::string& name,
                                            LoadError& error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    MofDocument document;
    document.name = name;
    try {
        std::wstring wide;
        if (!Utf8::decode(text, wide, true))
            throw MofSyntaxError{positionOf(text, firstInvalidUtf8(text)),
                                 "text is not valid UTF-8"};
        MofParser parser(text);
        parser.document(document);
    } catch (const MofSyntaxError& e) {
        error = LoadError{name, e.where.line, e.where.column, e.message};
        return std::nullopt;
    }
    return document;
}

void MofParser::document(MofDocument& document) {
    while (token_.kind != Token::Kind::End) {
        const Position where = token_.where;
        if (token_.isPunct('#')) {
            pragma(document);
            continue;
        }
        QualifierList qualifiers = qualifierList();
        if (token_.isWord("class")) {
            document.statements.push_back(classDeclaration(std::move(qualifiers), where));
        } else if (token_.isWord("instance")) {
            document.statements.push_back(instanceDeclaration(where));
        } else if (token_.isWord("qualifier")) {
            fail(token_.where, "qualifier declarations are not supported");
        } else {
            fail(token_.where, "expected a class or instance declaration");
        }
    }
}

void MofParser::pragma(MofDocument& document) {
    const Position where = token_.where;
    advance();
    if (!token_.isWord("pragma")) fail(token_.where, "expected 'pragma'");
    advance();
    const Token pragmaName = expect(Token::Kind::Identifier, "a pragma name");
    if (isIgnoredPragma(pragmaName)) {
        if (token_.isPunct('(')) {
            while (!token_.isPunct(')') && token_.kind != Token::Kind::End) advance();
            expectPunct(')');
        }
        return;
    }
    if (pragmaName.isWord("namespace")) {
        expectPunct('(');
        const Token path = expect(Token::Kind::String, "a namespace path");
        expectPunct(')');
        namespace_ = namespaceFrom(path.text, path.where);
        document.statements.push_back(NamespaceDecl{where, namespace_});
    } else if (pragmaName.isWord("deleteclass")) {
        expectPunct('(');
        const Token className = expect(Token::Kind::String, "a class name");
        expectPunct(',');
        const Token mode = expect(Token::Kind::Identifier, "FAIL or NOFAIL");
        if (!mode.isWord("FAIL") && !mode.isWord("NOFAIL"))
            fail(mode.where, "expected FAIL or NOFAIL");
        expectPunct(')');
        document.statements.push_back(DeleteClassDecl{
            where, namespace_, Utf8::toWide(className.text), mode.isWord("NOFAIL")});
    } else {
        fail(pragmaName.where, "unsupported pragma '" + pragmaName.text + "'");
    }
}

ClassDecl MofParser::classDeclaration(QualifierList qualifiers, Position where) {
    advance();
    ClassDecl decl;
    decl.where = where;
    decl.ns = namespace_;
    decl.qualifiers = std::move(qualifiers);
    decl.name = name("a class name");
    if (token_.isPunct(':')) {
        advance();
        decl.superclass = name("a superclass name");
    }
    expectPunct('{');
    while (!token_.isPunct('}')) {
        if (token_.kind == Token::Kind::End) fail(token_.where, "expected '}'");
        feature(decl);
    }
    advance();
    expectPunct(';');
    return decl;
}

void MofParser::feature(ClassDecl& decl) {
    QualifierList qualifiers = qualifierList();
    const Position where = token_.where;
    bool isVoid = false;
    const ValueType valueType = type(true, isVoid);
    std::wstring featureName = name("a property or method name");
    if (token_.isPunct('(')) {
        std::optional<ValueType> returnType;
        if (!isVoid) returnType = valueType;
        decl.methods.push_back(
            method(std::move(qualifiers), returnType, std::move(featureName), where));
        return;
    }
    if (isVoid) fail(where, "a property cannot be void");
    PropertyDecl property;
    property.def.name = std::move(featureName);
    property.def.type = valueType;
    property.def.qualifiers = std::move(qualifiers);
    property.where = where;
    if (token_.isPunct('[')) {
        advance();
        if (token_.kind == Token::Kind::Integer) advance();
        expectPunct(']');
        property.def.type.array = true;
    }
    if (token_.isPunct('=')) {
        advance();
        property.initializer = initializer();
    }
    expectPunct(';');
    decl.properties.push_back(std::move(property));
}

MethodDecl MofParser::method(QualifierList qualifiers, std::optional<ValueType> returnType,
                             std::wstring methodName, Position where) {
    MethodDecl decl;
    decl.where = where;
    decl.def.name = std::move(methodName);
    decl.def.returnType = returnType;
    decl.def.qualifiers = std::move(qualifiers);
    advance();
    while (!token_.isPunct(')')) {
        if (!decl.def.parameters.empty()) expectPunct(',');
        ParameterDef parameter;
        parameter.qualifiers = qualifierList();
        const Position at = token_.where;
        bool isVoid = false;
        parameter.type = type(false, isVoid);
        parameter.name = name("a parameter name");
        if (token_.isPunct('[')) {
            advance();
            if (token_.kind == Token::Kind::Integer) advance();
            expectPunct(']');
            parameter.type.array = true;
        }
        parameter.in = parameter.qualifiers.isSet(L"in");
        parameter.out = parameter.qualifiers.isSet(L"out");
        if (!parameter.in && !parameter.out)
            fail(at, "parameter " + Utf8::toNarrow(parameter.name) + " must be [in] or [out]");
        decl.def.parameters.push_back(std::move(parameter));
    }
    advance();
    expectPunct(';');
    return decl;
}

InstanceDecl MofParser::instanceDeclaration(Position where) {
    advance();
    if (!token_.isWord("of")) fail(token_.where, "expected 'of'");
    advance();
    InstanceDecl decl;
    decl.where = where;
    decl.ns = namespace_;
    decl.className = name("a class name");
    if (token_.isWord("as")) fail(token_.where, "aliases are not supported");
    expectPunct('{');
    while (!token_.isPunct('}')) {
        Assignment assignment;
        assignment.where = token_.where;
        assignment.property = name("a property name");
        expectPunct('=');
        assignment.value = initializer();
        expectPunct(';');
        decl.assignments.push_back(std::move(assignment));
    }
    advance();
    expectPunct(';');
    return decl;
}

QualifierList MofParser::qualifierList() {
    QualifierList list;
    if (!token_.isPunct('[')) return list;
    advance();
    do {
        if (!list.items.empty()) advance();
        const Position where = token_.where;
        Qualifier qualifier;
        qualifier.name = name("a qualifier name");
        if (list.find(qualifier.name) != nullptr)
            fail(where, "duplicate qualifier " + Utf8::toNarrow(qualifier.name));
        if (token_.isPunct('(')) {
            advance();
            qualifier.value = literal();
            expectPunct(')');
        } else if (token_.isPunct('{')) {
            qualifier.value = initializer();
        } else {
            qualifier.value = Value::boolean(true);
        }
        if (token_.isPunct(':')) {
            // Flavors say how a qualifier propagates; this repository does not use them.
            advance();
            expect(Token::Kind::Identifier, "a flavor");
            while (token_.kind == Token::Kind::Identifier) advance();
        }
        list.items.push_back(std::move(qualifier));
    } while (token_.isPunct(','));
    expectPunct(']');
    return list;
}

ValueType MofParser::type(bool allowVoid, bool& isVoid) {
    const Token word = expect(Token::Kind::Identifier, "a type");
    if (allowVoid && word.isWord("void")) {
        isVoid = true;
        return ValueType{};
    }
    if (word.isWord("object")) fail(word.where, "object properties are not supported");
    if (token_.isWord("ref")) fail(token_.where, "references are not supported");
    std::optional<CimType> cimType = ValueType::fromKeyword(word.text);
    if (!cimType) fail(word.where, "unknown type '" + word.text + "'");
    return ValueType{*cimType, false};
}

Value MofParser::initializer() {
    if (!token_.isPunct('{')) return literal();
    advance();
    std::vector<Value> elements;
    while (!token_.isPunct('}')) {
        if (!elements.empty()) expectPunct(',');
        const Position where = token_.where;
        if (token_.isPunct('{')) fail(where, "arrays cannot be nested");
        elements.push_back(literal());
    }
    advance();
    return Value::array(std::move(elements));
}

Value MofParser::literal() {
    const Token token = token_;
    if (token.kind == Token::Kind::String) {
        std::string text;
        while (token_.kind == Token::Kind::String) {
            text += token_.text;
            advance();
        }
        return Value::text(text);
    }
    advance();
    if (token.kind == Token::Kind::Char) return Value::text(std::wstring(1, token.character));
    if (token.kind == Token::Kind::Integer) return integerValue(token.integer, false);
    if (token.kind == Token::Kind::Real) return Value::real(token.real);
    if (token.isPunct('-') || token.isPunct('+')) {
        const bool negative = token.isPunct('-');
        const Token number = token_;
        advance();
        if (number.kind == Token::Kind::Real)
            return Value::real(negative ? -number.real : number.real);
        if (number.kind != Token::Kind::Integer) fail(number.where, "expected a number");
        if (negative && number.integer > kMostNegativeMagnitude)
            fail(number.where, "integer out of range");
        return integerValue(number.integer, negative);
    }
    if (token.isWord("TRUE")) return Value::boolean(true);
    if (token.isWord("FALSE")) return Value::boolean(false);
    if (token.isWord("NULL")) return Value();
    if (token.isPunct('$')) fail(token.where, "aliases are not supported");
    fail(token.where, "expected a value");
}

std::wstring MofParser::namespaceFrom(const std::string& text, Position where) const {
    std::wstring path = Utf8::toWide(text);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    if (path.rfind(L"\\\\", 0) == 0) {
        // \\server\namespace: only the namespace matters, the server is this machine.
        const std::size_t end = path.find(L'\\', 2);
        if (end == std::wstring::npos) fail(where, "namespace path names no namespace");
        path = path.substr(end + 1);
    } else if (!Names::same(path.substr(0, path.find(L'\\')), L"root")) {
        path = namespace_ + L"\\" + path;
    }
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    if (path.empty() || path.find(L"\\\\") != std::wstring::npos)
        fail(where, "malformed namespace path");
    return path;
}

Token MofParser::expect(Token::Kind kind, const char* what) {
    if (token_.kind != kind) fail(token_.where, std::string("expected ") + what);
    Token taken = token_;
    advance();
    return taken;
}

void MofParser::expectPunct(char c) {
    if (!token_.isPunct(c)) fail(token_.where, std::string("expected '") + c + "'");
    advance();
}

std::wstring MofParser::name(const char* what) {
    return Utf8::toWide(expect(Token::Kind::Identifier, what).text);
}

void MofParser::fail(Position where, std::string message) const {
    throw MofSyntaxError{where, std::move(message)};
}

}  // namespace nvx4::repository
