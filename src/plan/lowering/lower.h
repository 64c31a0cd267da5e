#pragma once
// A contract made into the plan it stands for: its interfaces and lineage
// checked, its analysis run, one node per semantic action, expression and
// rule, the dependency graph, the guarantees, and the finished plan
// validated. Any error leaves the result without a plan.

#include "model/contract.h"
#include "model/registry/registry.h"
#include "plan/lowering/plan_result.h"

namespace vorn::plan::lowering {

// Uses the default registry when none is given. The contract is only read.
PlanResult lower(const vorn::model::TransformationContract& contract,
                 const vorn::model::registry::RegistryDocument* registry = nullptr);

}  // namespace vorn::plan::lowering
