#pragma once
// Tokens of the expression language, as the lexer cuts them from the text.

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::parse {

using ast::Span;

enum class TokenKind : std::uint8_t {
  Identifier,
  StringLiteral,
  Integer,
  Decimal,
  BooleanTrue,
  BooleanFalse,
  LeftParen,
  RightParen,
  Comma,
  Operator,
  EndOfInput,
};

// How a kind is named in "expected '...'" messages; operators are named by
// their own text instead.
std::string_view token_kind_name(TokenKind kind);

struct Token {
  TokenKind kind = TokenKind::EndOfInput;
  // Identifier: its text; StringLiteral: the text after escape processing;
  // Operator: the operator text ("!", "!=", "&&", ...). Empty otherwise.
  std::string text;
  std::int64_t integer = 0;  // Integer only
  double decimal = 0.0;      // Decimal only
  Span span;

  bool is_operator(std::string_view op) const { return kind == TokenKind::Operator && text == op; }
};

}  // namespace vorn::analysis::expr::parse
