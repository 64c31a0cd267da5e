#pragma once
// Folding of registry function calls whose arguments are known: a call of a
// deterministic "vorn:" function that constant evaluation can compute becomes
// the literal of its value.

#include "analysis/expr/ast.h"
#include "model/registry/registry.h"

namespace vorn::plan::optimize {

// A new tree, folded bottom-up so that a folded call can make its caller
// foldable; the input is left untouched. A call folds when its name begins
// with "vorn:", the registry holds a function entry of exactly that id whose
// definition is a JSON object with "deterministic": true, every folded
// argument has a constant value, and the function gives a value for them.
// Rebuilt nodes keep their spans; a folded call's literal takes the call's.
analysis::expr::ast::Expr fold_expression_calls(const analysis::expr::ast::Expr& e,
                                                const vorn::model::registry::RegistryDocument& registry);

}  // namespace vorn::plan::optimize
