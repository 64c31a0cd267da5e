#pragma once
// The canonical text of an expression: one spelling per tree, used when
// rewritten expressions are written back and when expressions are compared.
//
// Every binary operand of a binary operator is parenthesised whatever the
// precedence; a top-level binary and a call argument are not; a unary operand
// is parenthesised exactly when it is binary. Strings are double-quoted.

#include <string>

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::format {

// Callers outside this module pass nested = false; nested = true wraps a
// binary tree in parentheses.
std::string format_expr(const ast::Expr& e, bool nested);

// Booleans as true/false; integers in decimal; decimals by their shortest
// round-trip digits, positional and without a fraction when integral (2.0 is
// "2"), with -0, NaN, inf and -inf; strings double-quoted with \\ \" \n \r \t.
std::string format_literal(const ast::LiteralValue& v);

}  // namespace vorn::analysis::expr::format
