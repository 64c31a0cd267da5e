#pragma once
// Expression text to syntax tree. Every reader of expression text goes
// through parse_expression; problems come back as an ExprParseError naming
// the first problem and its byte span.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/expr/ast.h"
#include "analysis/expr/parse/parse_error.h"
#include "analysis/expr/parse/token.h"
#include "diagnostics/diagnostic.h"

namespace vorn::analysis::expr::parse {

using ast::Expr;

// Binding strength of the grammar levels, loosest first.
enum class Level : std::uint8_t { Or, And, Comparison, Additive, Multiplicative, Unary };

// Parses a token list. The grammar levels are not parsed by mutual
// recursion: nesting depth is bounded only by the length of the text, so
// parse_level keeps the pending operators and groups on a heap stack. The
// trees and errors are those of the recursive-descent reading of the grammar.
class Parser {
 public:
  // An end-of-input token is appended when the list does not end in one.
  explicit Parser(std::vector<Token> tokens);

  const Token& current() const { return tokens_[index_]; }

  // The current token; advances unless it is the end of input. The token
  // list never changes, so the reference stays valid for the parser's life.
  const Token& consume();
  // Consumes the current token when it is of `kind` (an operator: with text
  // `op`). Payloads of identifiers and literals are never compared.
  bool match_kind(TokenKind kind, std::string_view op = {});
  // Like match_kind, but a mismatch is the error "expected '<name>'" at the
  // current token; on success the consumed token's span.
  ParseResult<Span> expect_kind(TokenKind kind, std::string_view op = {});

  ParseResult<Expr> parse_or() { return parse_level(Level::Or); }
  ParseResult<Expr> parse_and() { return parse_level(Level::And); }
  ParseResult<Expr> parse_comparison() { return parse_level(Level::Comparison); }
  ParseResult<Expr> parse_additive() { return parse_level(Level::Additive); }
  ParseResult<Expr> parse_multiplicative() { return parse_level(Level::Multiplicative); }
  // A prefix-operator chain over a primary.
  ParseResult<Expr> parse_unary() { return parse_level(Level::Unary); }

 private:
  class Stacks;

  // One expression whose outermost binary operators bind at least as
  // strongly as `lowest`; inside parentheses and call arguments every level
  // applies.
  ParseResult<Expr> parse_level(Level lowest);
  std::optional<ExprParseError> read_operand_start(Stacks& s, bool& want_operand);
  std::optional<ExprParseError> close_group(Stacks& s, bool& want_operand);

  std::vector<Token> tokens_;
  std::size_t index_ = 0;
};

// Lexes the whole text, parses one expression and requires end of input
// after it ("unexpected trailing input" otherwise).
ParseResult<Expr> parse_expression(std::string_view text);

// The analysis-report form of a parse error for expression `expression_id`.
diagnostics::Diagnostic to_diagnostic(const ExprParseError& error, std::string_view expression_id);

}  // namespace vorn::analysis::expr::parse
