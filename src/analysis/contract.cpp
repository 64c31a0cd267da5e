#include "analysis/contract.h"

#include "analysis/expr/check.h"
#include "analysis/semantics.h"
#include "registry/default_registry.h"

namespace vorn::analysis::contract {

AnalysisReport check_contract(const model::TransformationContract& contract,
                              const model::registry::RegistryDocument* registry) {
  const auto& chosen = registry ? *registry : registry::default_registry();
  AnalysisReport report;
  const expr::ExpressionScope scope = expr::ExpressionScope::from_contract(contract);
  for (const auto& expression : contract.expressions) {
    expr::ExpressionAnalysis analysis = expr::check_expression(scope, expression, chosen);
    for (auto& d : analysis.diagnostics) report.diagnostics.push_back(std::move(d));
    for (auto& f : analysis.findings) report.findings.push_back(std::move(f));
  }
  semantics::SemanticsResult checked = semantics::check_semantics(contract, chosen);
  for (auto& d : checked.diagnostics) report.diagnostics.push_back(std::move(d));
  for (auto& f : checked.findings) report.findings.push_back(std::move(f));
  return report;
}

}  // namespace vorn::analysis::contract
