#include "analysis/expr/check.h"

#include <string>
#include <utility>

#include "analysis/expr/constants.h"
#include "analysis/expr/infer/infer.h"
#include "analysis/expr/parse/parser.h"
#include "support/unicode.h"

namespace vorn::analysis::expr {
namespace {

constexpr const char* kConstantMessage = "expression is constant and may be evaluated during planning";
constexpr const char* kTypeRemediation =
    "Fix field references, operators, or function calls in the expression";

std::string object_ref_of(const model::Expression& expression) { return "expressions." + expression.id; }

}  // namespace

ExpressionScope ExpressionScope::from_contract(const model::TransformationContract& contract) {
  return ExpressionScope{validation::field_index::FieldIndex::from_contract(contract),
                         types::FunctionTable::from_contract(contract)};
}

ExpressionAnalysis check_expression(const model::TransformationContract& contract,
                                    const model::Expression& expression,
                                    const model::registry::RegistryDocument& registry) {
  return check_expression(ExpressionScope::from_contract(contract), expression, registry);
}

ExpressionAnalysis check_expression(const ExpressionScope& scope, const model::Expression& expression,
                                    const model::registry::RegistryDocument& registry) {
  ExpressionAnalysis analysis;
  if (!expression.expr || is_blank(*expression.expr)) return analysis;

  // The text as written: spans count from its first byte.
  auto parsed = parse::parse_expression(*expression.expr);
  if (!parsed) {
    analysis.diagnostics.push_back(parse::to_diagnostic(parsed.error(), expression.id));
    return analysis;
  }

  // Reported before inference runs, and kept when inference fails.
  if (constants::is_constant(parsed.value())) {
    analysis.findings.push_back(
        AnalysisFinding{object_ref_of(expression), "constantExpression", kConstantMessage, {}});
  }
  const ast::Expr& tree = analysis.expr.emplace(std::move(parsed).value());

  types::ExprTypeResult inferred = types::infer_expression_type(tree, scope.fields, scope.functions, registry);
  if (!inferred) {
    analysis.diagnostics.push_back(std::move(inferred).error()
                                       .with_object_ref(object_ref_of(expression))
                                       .with_remediation(kTypeRemediation));
    return analysis;
  }
  types::InferredExprType type = std::move(inferred).value();
  analysis.logical_type = std::move(type.logical_type);
  analysis.nullable = type.nullable;
  return analysis;
}

}  // namespace vorn::analysis::expr
