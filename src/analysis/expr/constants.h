#pragma once
// Whether an expression needs no input data.

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::constants {

// True when the tree is built from literals and operators only: no field
// reference and no call anywhere. A constant tree may still have no value
// (1 / 0, 'a' - 'b').
bool is_constant(const ast::Expr& e);

}  // namespace vorn::analysis::expr::constants
