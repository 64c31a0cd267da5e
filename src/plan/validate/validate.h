#pragma once
// The checks of a plan on its own, without the contract it came from: it
// has interfaces, unique node ids, dependencies between known vertices and
// without a cycle, lineage for every output, targets that resolve,
// expressions whose declared type holds, and interface conditions that name
// plan nodes.

#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/registry/registry.h"
#include "plan/model/plan.h"

namespace vorn::plan::validate {

// In the order found; empty when the plan is valid. `registry` types the
// expressions.
std::vector<diagnostics::Diagnostic> validate_with_registry(const model::TransformationPlan& plan,
                                                            const vorn::model::registry::RegistryDocument& registry);

}  // namespace vorn::plan::validate
