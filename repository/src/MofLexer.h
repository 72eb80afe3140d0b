// Splits MOF text into tokens: identifiers, string and character literals (escapes resolved),
// integers (decimal or hex), reals and punctuation; skips white space and // and /* */ comments.
#ifndef NVX4_REPOSITORY_MOFLEXER_H
#define NVX4_REPOSITORY_MOFLEXER_H

#include <cstdint>
#include <string>
#include <string_view>

#include "MofDocument.h"

namespace nvx4::repository {

struct MofSyntaxError {
    Position where;
    std::string message;
};

struct Token {
    enum class Kind { End, Identifier, String, Char, Integer, Real, Punct };

    Kind kind = Kind::End;
    std::string text;  // identifier, punctuation, or the string's UTF-8 content
    std::uint64_t integer = 0;
    double real = 0;
    char32_t character = 0;
    Position where;

    bool is(Kind k, std::string_view t) const { return kind == k && text == t; }
    bool isPunct(char c) const { return kind == Kind::Punct && text.size() == 1 && text[0] == c; }
    // An identifier equal to `word` without regard to case.
    bool isWord(std::string_view word) const;
};

class MofLexer {
  public:
    explicit MofLexer(std::string_view text) : text_(text) {}

    // The next token; throws MofSyntaxError.
    Token next();

  private:
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }
    char advance();
    Position here() const { return {line_, static_cast<int>(pos_ - lineStart_) + 1}; }
    [[noreturn]] void fail(Position where, std::string message) const;

    void skipSpaceAndComments();
    Token identifier();
    Token number();
    Token string();
    Token character();
    // The character of an escape sequence after its backslash.
    char32_t escape();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    int line_ = 1;
};

}  // namespace nvx4::repository

#endif
