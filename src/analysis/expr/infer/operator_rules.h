#pragma once
// Typing of the nodes that are not calls: literals, field references and
// operators. Each rule sees only its own node and its operands' results, so
// the walk that drives them decides the order in which errors are found.

#include <string_view>

#include "analysis/expr/ast.h"
#include "analysis/expr/infer/inferred_type.h"
#include "validation/field_index.h"

namespace vorn::analysis::expr::types {

// boolean, string, integer or decimal; never null.
InferredExprType literal_type(const ast::LiteralValue& value);

// The declared type and nullability of the field that `reference` (as
// written in the expression) names.
InferResult field_type(std::string_view reference, const validation::field_index::FieldIndex& fields);

// `-` needs an integer or decimal, `!` a boolean; the result is the operand.
InferResult unary_type(ast::UnaryOp op, InferredExprType operand);

InferResult binary_type(ast::BinaryOp op, const InferredExprType& left, const InferredExprType& right);

}  // namespace vorn::analysis::expr::types
