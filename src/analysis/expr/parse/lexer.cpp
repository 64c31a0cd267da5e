#include "analysis/expr/parse/lexer.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace vorn::analysis::expr::parse {
namespace {

// One decoded character; `code` is negative for an ill-formed sequence, which
// then covers the bytes that ICU treats as one maximal ill-formed subpart.
struct Char {
  UChar32 code;
  std::size_t length;
};

Char decode_at(std::string_view text, std::size_t i) {
  // A window of at most four bytes keeps ICU's int32_t indexing in range
  // whatever the length of the text.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data() + i);
  auto window = static_cast<std::int32_t>(std::min<std::size_t>(4, text.size() - i));
  std::int32_t pos = 0;
  UChar32 c = 0;
  U8_NEXT(bytes, pos, window, c);
  return {c, static_cast<std::size_t>(pos)};
}

bool is_white_space(UChar32 c) { return c >= 0 && u_hasBinaryProperty(c, UCHAR_WHITE_SPACE); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool starts_identifier(char c) { return is_letter(c) || c == '_'; }
bool continues_identifier(char c) { return is_letter(c) || is_digit(c) || c == '_' || c == '.' || c == ':'; }

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  ParseResult<std::vector<Token>> run() {
    for (;;) {
      skip_white_space();
      if (pos_ >= text_.size()) break;
      lex_token();
      if (error_) return std::move(*error_);
    }
    tokens_.emplace_back().span = Span{text_.size(), text_.size()};
    return std::move(tokens_);
  }

 private:
  void skip_white_space() {
    while (pos_ < text_.size()) {
      Char c = decode_at(text_, pos_);
      if (!is_white_space(c.code)) return;
      pos_ += c.length;
    }
  }

  void fail(std::string message, Span span) { error_ = ExprParseError{std::move(message), span}; }

  void fail_unexpected_character(std::size_t at, Char c) {
    // Ill-formed UTF-8 has no character to quote; the replacement character
    // stands in for it so that the message itself stays valid UTF-8.
    std::string_view shown = c.code < 0 ? std::string_view("\xEF\xBF\xBD") : text_.substr(at, c.length);
    fail("unexpected character '" + std::string(shown) + "'", Span{at, at + c.length});
  }

  Token& emit(TokenKind kind, std::size_t start, std::string text = {}) {
    Token& t = tokens_.emplace_back();
    t.kind = kind;
    t.text = std::move(text);
    t.span = Span{start, pos_};
    return t;
  }

  bool next_is(char c) const { return pos_ < text_.size() && text_[pos_] == c; }

  // An operator of one character, or of two when `=` follows and may join.
  void lex_operator(std::size_t s, bool joins_equals) {
    ++pos_;
    if (joins_equals && next_is('=')) ++pos_;
    emit(TokenKind::Operator, s, std::string(text_.substr(s, pos_ - s)));
  }

  // `&&`, `||`, `==`: the doubled character is required.
  void lex_doubled(std::size_t s) {
    char c = text_[s];
    if (s + 1 < text_.size() && text_[s + 1] == c) {
      pos_ = s + 2;
      emit(TokenKind::Operator, s, std::string(2, c));
      return;
    }
    std::string lone(1, c);
    fail("unexpected '" + lone + "'; did you mean '" + lone + lone + "'?", Span{s, s + 1});
  }

  void lex_punctuation(std::size_t s) {
    ++pos_;
    char c = text_[s];
    emit(c == '(' ? TokenKind::LeftParen : c == ')' ? TokenKind::RightParen : TokenKind::Comma, s);
  }

  void lex_token() {
    std::size_t s = pos_;
    char c = text_[s];
    switch (c) {
      case '!': case '<': case '>': return lex_operator(s, true);
      case '=': case '&': case '|': return lex_doubled(s);
      case '+': case '-': case '*': case '/': return lex_operator(s, false);
      case '(': case ')': case ',': return lex_punctuation(s);
      case '"': case '\'': return lex_string(s);
      default: break;
    }
    if (is_digit(c)) return lex_number(s);
    if (starts_identifier(c)) return lex_identifier(s);
    fail_unexpected_character(s, decode_at(text_, s));
  }

  void lex_string(std::size_t s) {
    const char quote = text_[s];
    std::string value;
    pos_ = s + 1;
    for (;;) {
      if (pos_ >= text_.size()) return fail("unterminated string literal", Span{s, text_.size()});
      if (text_[pos_] == quote) break;
      bool escaped = text_[pos_] == '\\';
      if (escaped) {
        ++pos_;
        if (pos_ >= text_.size()) {
          return fail("unterminated escape sequence in string literal", Span{s, text_.size()});
        }
      }
      Char c = decode_at(text_, pos_);
      if (c.code < 0) return fail_unexpected_character(pos_, c);
      if (escaped && c.code == 'n') value += '\n';
      else if (escaped && c.code == 't') value += '\t';
      else if (escaped && c.code == 'r') value += '\r';
      else value.append(text_.substr(pos_, c.length));
      pos_ += c.length;
    }
    ++pos_;
    emit(TokenKind::StringLiteral, s, std::move(value));
  }

  void lex_number(std::size_t s) {
    while (pos_ < text_.size() && is_digit(text_[pos_])) ++pos_;
    std::size_t integral_end = pos_;
    if (!next_is('.')) return emit_integer(s);
    ++pos_;
    while (pos_ < text_.size() && is_digit(text_[pos_])) ++pos_;
    emit_decimal(s, integral_end);
  }

  void emit_integer(std::size_t s) {
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text_.data() + s, text_.data() + pos_, value);
    if (ec != std::errc() || end != text_.data() + pos_) return fail("invalid integer literal", Span{s, pos_});
    emit(TokenKind::Integer, s).integer = value;
  }

  void emit_decimal(std::size_t s, std::size_t integral_end) {
    double value = 0.0;
    auto [end, ec] = std::from_chars(text_.data() + s, text_.data() + pos_, value);
    if (ec == std::errc::result_out_of_range && end == text_.data() + pos_) {
      // Without sign or exponent, out of range means beyond the largest
      // double when the integral part is nonzero, else below the smallest.
      std::string_view integral = text_.substr(s, integral_end - s);
      bool large = integral.find_first_not_of('0') != std::string_view::npos;
      value = large ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || end != text_.data() + pos_) {
      return fail("invalid decimal literal", Span{s, pos_});
    }
    emit(TokenKind::Decimal, s).decimal = value;
  }

  void lex_identifier(std::size_t s) {
    while (pos_ < text_.size() && continues_identifier(text_[pos_])) ++pos_;
    std::string_view word = text_.substr(s, pos_ - s);
    if (word == "true" || word == "TRUE" || word == "True") {
      emit(TokenKind::BooleanTrue, s);
    } else if (word == "false" || word == "FALSE" || word == "False") {
      emit(TokenKind::BooleanFalse, s);
    } else {
      emit(TokenKind::Identifier, s, std::string(word));
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<Token> tokens_;
  std::optional<ExprParseError> error_;
};

}  // namespace

ParseResult<std::vector<Token>> tokenize(std::string_view text) { return Lexer(text).run(); }

}  // namespace vorn::analysis::expr::parse
