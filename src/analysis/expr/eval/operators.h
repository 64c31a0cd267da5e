#pragma once
// The operators of the expression language applied to constant values.

#include <optional>

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::eval {

// Not of a boolean; Neg of an integer (no value for the smallest integer) or
// of a decimal (sign flip, so 0.0 becomes -0.0). Other kinds: no value.
std::optional<ast::LiteralValue> apply_unary(ast::UnaryOp op, const ast::LiteralValue& operand);

// Checked 64-bit integer arithmetic, IEEE double arithmetic (an integer meets
// a decimal as the nearest double), string concatenation with +, equality
// across all kinds, ordering within one kind, logic on booleans. Operands are
// taken by value so that a chain of concatenations reuses its left text.
std::optional<ast::LiteralValue> apply_binary(ast::BinaryOp op, ast::LiteralValue left, ast::LiteralValue right);

}  // namespace vorn::analysis::expr::eval
