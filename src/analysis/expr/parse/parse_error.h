#pragma once
// The first problem found in an expression text, and the value-or-problem
// result that the lexer and parser hand back instead of throwing.

#include <string>
#include <utility>
#include <variant>

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::parse {

using ast::Span;

struct ExprParseError {
  std::string message;
  Span span;

  bool operator==(const ExprParseError&) const = default;
};

template <class T>
class ParseResult {
 public:
  ParseResult(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  ParseResult(ExprParseError error) : v_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  // value() requires ok(); error() requires !ok().
  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  const ExprParseError& error() const { return std::get<1>(v_); }
  ExprParseError&& take_error() && { return std::get<1>(std::move(v_)); }

 private:
  std::variant<T, ExprParseError> v_;
};

}  // namespace vorn::analysis::expr::parse
