#include "plan/optimize/optimize.h"

#include <iterator>

#include "analysis/expr/check.h"
#include "plan/optimize/diagnostics.h"
#include "plan/optimize/passes.h"
#include "plan/optimize/rebuild.h"
#include "plan/validate/plan_as_contract.h"
#include "plan/validate/validate.h"

namespace vorn::plan::optimize {
namespace {

using diagnostics::Diagnostic;
using vorn::model::registry::RegistryDocument;

void append(std::vector<Diagnostic>& to, std::vector<Diagnostic>&& from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

// The four passes that change nodes in place, each when switched on.
void run_node_passes(model::TransformationPlan& plan, const RegistryDocument& registry,
                     const OptimizeOptions& options, OptimizeResult& out) {
  if (options.expression_rewrite || options.function_folding) {
    // The guard types rewritten texts against the plan's interfaces and
    // functions, which no pass changes.
    vorn::model::TransformationContract view = validate::plan_interfaces_as_contract(plan);
    auto scope = analysis::expr::ExpressionScope::from_contract(view);
    if (options.expression_rewrite) rewrite_expressions(RewritePass::kExpression, plan, scope, registry, out);
    if (options.function_folding) rewrite_expressions(RewritePass::kFunction, plan, scope, registry, out);
  }
  ProtectedIds kept = condition_rule_ids(plan);
  if (options.idempotent_action_removal) remove_idempotent_actions(plan, kept, out);
  if (options.duplicate_rule_removal) remove_duplicate_rules(plan, kept, out);
}

// False when the rebuild (or anything before it) reported an error.
bool rebuilt(model::TransformationPlan& plan, const RegistryDocument& registry, OptimizeResult& out) {
  rebuild_dependencies(plan, registry, out.diagnostics);
  return !diagnostics::has_error(out.diagnostics);
}

}  // namespace

OptimizeResult optimize_with_registry(const model::TransformationPlan& plan, const RegistryDocument& registry,
                                      const OptimizeOptions& options) {
  OptimizeResult out;
  if (options.validate) {
    std::vector<Diagnostic> found = validate::validate_with_registry(plan, registry);
    if (diagnostics::has_error(found)) {
      out.diagnostics = std::move(found);
      out.diagnostics.push_back(report(Problem::kInputInvalid));
      return out;
    }
  }
  model::TransformationPlan working = plan;
  run_node_passes(working, registry, options, out);
  if (!rebuilt(working, registry, out)) return out;
  if (options.dead_expression_removal && remove_dead_expressions(working, condition_rule_ids(working), out) &&
      !rebuilt(working, registry, out))
    return out;
  if (options.validate) {
    std::vector<Diagnostic> found = validate::validate_with_registry(working, registry);
    bool failed = diagnostics::has_error(found);
    append(out.diagnostics, std::move(found));
    if (failed) {
      out.diagnostics.push_back(report(Problem::kOutputInvalid));
      return out;
    }
  }
  out.plan = std::move(working);
  return out;
}

}  // namespace vorn::plan::optimize
