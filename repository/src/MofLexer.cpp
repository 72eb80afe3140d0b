#include "MofLexer.h"

#include <cctype>
#include <charconv>

#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

bool isIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }

bool isIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    std::string encoded;
    Utf8::encode(std::wstring(1, static_cast<wchar_t>(c)), encoded);
    out += encoded;
}

}  // namespace

bool Token::isWord(std::string_view word) const {
    if (kind != Kind::Identifier || text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

char MofLexer::advance() {
    const char c = text_[pos_++];
    if (c == '\n') {
        ++line_;
        lineStart_ = pos_;
    }
    return c;
}

void MofLexer::fail(Position where, std::string message) const {
    throw MofSyntaxError{where, std::move(message)};
}

Token MofLexer::next() {
    skipSpaceAndComments();
    if (atEnd()) {
        Token end;
        end.where = here();
        return end;
    }
    const char c = peek();
    if (isIdentifierStart(c)) return identifier();
    if (isDigit(c) || (c == '.' && isDigit(peek(1)))) return number();
    if (c == '"') return string();
    if (c == '\'') return character();
    if (std::string_view("{}[]();,=:#$-+").find(c) != std::string_view::npos) {
        Token punct;
        punct.kind = Token::Kind::Punct;
        punct.where = here();
        punct.text = std::string(1, advance());
        return punct;
    }
    if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F)
        fail(here(), std::string("unexpected character '") + c + "'");
    fail(here(), "unexpected character");
}

void MofLexer::skipSpaceAndComments() {
    while (!atEnd()) {
        const char c = peek();
        if (std::isspace(static_cast<unsigned char>(c))) {
            advance();
        } else if (c == '/' && peek(1) == '/') {
            while (!atEnd() && peek() != '\n') advance();
        } else if (c == '/' && peek(1) == '*') {
            const Position start = here();
            advance();
            advance();
            while (!atEnd() && !(peek() == '*' && peek(1) == '/')) advance();
            if (atEnd()) fail(start, "unterminated comment");
            advance();
            advance();
        } else {
            return;
        }
    }
}

Token MofLexer::identifier() {
    Token token;
    token.kind = Token::Kind::Identifier;
    token.where = here();
    while (!atEnd() && isIdentifierChar(peek())) token.text += advance();
    return token;
}

Token MofLexer::number() {
    Token token;
    token.where = here();
    const std::size_t start = pos_;
    if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
        advance();
        advance();
        token.kind = Token::Kind::Integer;
        if (hexValue(peek()) < 0) fail(token.where, "malformed hexadecimal number");
        while (hexValue(peek()) >= 0) {
            const std::uint64_t digit = static_cast<std::uint64_t>(hexValue(advance()));
            if (token.integer > (UINT64_MAX >> 4)) fail(token.where, "integer out of range");
            token.integer = (token.integer << 4) | digit;
        }
    } else {
        bool real = false;
        while (isDigit(peek())) advance();
        if (peek() == '.') {
            real = true;
            advance();
            while (isDigit(peek())) advance();
        }
        if (peek() == 'e' || peek() == 'E') {
            real = true;
            advance();
            if (peek() == '+' || peek() == '-') advance();
            if (!isDigit(peek())) fail(token.where, "malformed real number");
            while (isDigit(peek())) advance();
        }
        const char* first = text_.data() + start;
        const char* last = text_.data() + pos_;
        if (real) {
            token.kind = Token::Kind::Real;
            auto [end, error] = std::from_chars(first, last, token.real);
            if (error != std::errc() || end != last) fail(token.where, "real number out of range");
        } else {
            token.kind = Token::Kind::Integer;
            auto [end, error] = std::from_chars(first, last, token.integer);
            if (error != std::errc() || end != last) fail(token.where, "integer out of range");
        }
    }
    if (isIdentifierChar(peek())) fail(token.where, "malformed number");
    token.text = std::string(text_.substr(start, pos_ - start));
    return token;
}

Token MofLexer::string() {
    Token token;
    token.kind = Token::Kind::String;
    token.where = here();
    advance();
    while (true) {
        if (atEnd() || peek() == '\n') fail(token.where, "unterminated string");
        const char c = advance();
        if (c == '"') break;
        if (c == '\\')
            appendUtf8(token.text, escape());
        else
            token.text += c;
    }
    return token;
}

Token MofLexer::character() {
    Token token;
    token.kind = Token::Kind::Char;
    token.where = here();
    advance();
    if (atEnd() || peek() == '\'' || peek() == '\n') fail(token.where, "malformed character");
    if (peek() == '\\') {
        advance();
        token.character = escape();
    } else {
        // One UTF-8 encoded character.
        std::size_t length = 1;
        while (pos_ + length < text_.size() && (text_[pos_ + length] & 0xC0) == 0x80) ++length;
        std::wstring wide;
        Utf8::decode(text_.substr(pos_, length), wide);
        token.character = static_cast<char32_t>(wide[0]);
        for (std::size_t i = 0; i < length; ++i) advance();
    }
    if (peek() != '\'') fail(token.where, "malformed character");
    advance();
    return token;
}

char32_t MofLexer::escape() {
    const Position where = here();
    if (atEnd()) fail(where, "unterminated escape");
    const char c = advance();
    switch (c) {
        case 'b':
            return '\b';
        case 't':
            return '\t';
        case 'n':
            return '\n';
        case 'f':
            return '\f';
        case 'r':
            return '\r';
        case '"':
        case '\'':
        case '\\':
            return static_cast<char32_t>(c);
        case 'x':
        case 'X': {
            char32_t value = 0;
            int digits = 0;
            while (digits < 4 && hexValue(peek()) >= 0) {
                value = (value << 4) | static_cast<char32_t>(hexValue(advance()));
                ++digits;
            }
            if (digits == 0) fail(where, "malformed \\x escape");
            if (value >= 0xD800 && value <= 0xDFFF) fail(where, "escape names a surrogate");
            return value;
        }
        default:
            fail(where, std::string("unknown escape \\") + c);
    }
}

}  // namespace nvx4::repository
