#pragma once
// Constant evaluation. It never fails loudly: whatever has no defined value
// (a field, a call, an overflow, a division by zero, a kind mismatch) yields
// no value, and the caller keeps the tree as it is.

#include <optional>
#include <span>
#include <string_view>

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::eval {

// The value of a tree that needs no input data. Every operand is evaluated
// before its operator applies: && and || do not short-circuit, so
// false && x has no value when x is a field.
std::optional<ast::LiteralValue> evaluate(const ast::Expr& e);

// The value of one of the string functions "vorn:lower", "vorn:upper",
// "vorn:concat" and "vorn:length" applied to known arguments (full Unicode
// case mapping; length in scalar values). Any other name, or arguments the
// function does not accept, give no value.
std::optional<ast::LiteralValue> evaluate_registry_call(std::string_view name,
                                                        std::span<const ast::LiteralValue> args);

}  // namespace vorn::analysis::expr::eval
