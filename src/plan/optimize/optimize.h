#pragma once
// Plan optimization: a rewritten copy of a plan with its expressions
// simplified and folded, redundant idempotent actions, duplicate rules and
// unused expressions removed, and its dependencies derived again; one
// record per change. The plan given is never changed.

#include "model/registry/registry.h"
#include "plan/model/plan.h"
#include "plan/optimize/result.h"

namespace vorn::plan::optimize {

struct OptimizeOptions {
  bool expression_rewrite = true;
  bool function_folding = true;
  bool idempotent_action_removal = true;
  bool duplicate_rule_removal = true;
  bool dead_expression_removal = true;
  // Validate the plan before the passes (an invalid one is not optimized)
  // and after them (an invalid result is not returned).
  bool validate = true;
};

// The passes run in the order of the options; the dependencies are rebuilt
// after the first four whether or not they ran, and again when unused
// expressions were removed. A failed validation or rebuild leaves the
// result without a plan but with the diagnostics and records so far.
OptimizeResult optimize_with_registry(const model::TransformationPlan& plan,
                                      const vorn::model::registry::RegistryDocument& registry,
                                      const OptimizeOptions& options);

}  // namespace vorn::plan::optimize
