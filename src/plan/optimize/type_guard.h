#pragma once
// The type guard of the expression rewrites: a rewrite is kept only when the
// text that will be stored still has the type the expression had.

#include <string_view>

#include "analysis/expr/ast.h"
#include "analysis/expr/check.h"
#include "model/expression.h"
#include "model/registry/registry.h"

namespace vorn::plan::optimize {

// Judges `after`, the canonical text that would replace the declaration's
// text, as it reads back rather than the tree it was written from: an
// integral decimal is written without a fraction and reads back as an
// integer, an infinity or not-a-number reads back as a field reference, a
// huge integral decimal does not read back at all. Text that does not parse
// is rejected. With a declared type, `after` must infer to exactly that
// type (nullability aside); a declared type that does not parse rejects.
// Without one, `after` must infer to the logical type of `original` when
// the original tree infers at all.
bool expression_rewrite_accepted(const analysis::expr::ast::Expr& original, std::string_view after,
                                 const vorn::model::Expression& declaration,
                                 const analysis::expr::ExpressionScope& scope,
                                 const vorn::model::registry::RegistryDocument& registry);

}  // namespace vorn::plan::optimize
