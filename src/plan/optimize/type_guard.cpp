#include "plan/optimize/type_guard.h"

#include <optional>

#include "analysis/expr/infer/infer.h"
#include "analysis/expr/parse/parser.h"
#include "model/types/logical_type.h"

namespace vorn::plan::optimize {
namespace {

using analysis::expr::ast::Expr;
using vorn::model::types::LogicalType;

std::optional<LogicalType> logical_type_of(const Expr& e, const analysis::expr::ExpressionScope& scope,
                                           const vorn::model::registry::RegistryDocument& registry) {
  auto inferred = analysis::expr::types::infer_expression_type(e, scope.fields, scope.functions, registry);
  if (!inferred) return std::nullopt;
  return std::move(inferred).value().logical_type;
}

}  // namespace

bool expression_rewrite_accepted(const Expr& original, std::string_view after,
                                 const vorn::model::Expression& declaration,
                                 const analysis::expr::ExpressionScope& scope,
                                 const vorn::model::registry::RegistryDocument& registry) {
  std::optional<LogicalType> wanted;
  if (declaration.type) {
    auto declared = vorn::model::types::parse_logical_type(*declaration.type);
    if (!declared) return false;
    wanted = std::move(declared).value();
  }
  auto stored = analysis::expr::parse::parse_expression(after);
  if (!stored) return false;
  if (!wanted) {
    wanted = logical_type_of(original, scope, registry);
    // An expression that never had a type has none to lose.
    if (!wanted) return true;
  }
  std::optional<LogicalType> got = logical_type_of(stored.value(), scope, registry);
  return got && *got == *wanted;
}

}  // namespace vorn::plan::optimize
