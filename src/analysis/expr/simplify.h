#pragma once
// A small algebraic simplifier: drops identities (x + 0, x * 1, true && x),
// absorbs zeros and boolean constants (x * 0, false && x, x || true) and
// cancels doubled prefix operators (--x, !!x). The rules look only at the
// shape of the tree, never at types: x * 0 becomes 0 whatever x is.

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::rewrite {

// A new tree; the input is left untouched. A kept operand keeps its own span;
// a rebuilt node takes the span of the node it replaces. Call arguments are
// not simplified.
ast::Expr simplify_expression(const ast::Expr& e);

}  // namespace vorn::analysis::expr::rewrite
