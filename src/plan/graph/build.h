#pragma once
// The dependency graph of a plan: every edge derived from the contract and
// the nodes, the checks of the explicit action ordering, and the cycle test.

#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/contract.h"
#include "model/registry/registry.h"
#include "plan/model/dependency.h"
#include "plan/model/node.h"

namespace vorn::plan::graph {

struct BuildResult {
  // Sorted by (from, to, reason); no self-edge, no two equal edges.
  std::vector<model::PlanDependency> dependencies;
  // In the order found.
  std::vector<diagnostics::Diagnostic> diagnostics;
};

// `registry` types the expressions whose field reads become edges.
BuildResult build(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                  const vorn::model::registry::RegistryDocument& registry);

}  // namespace vorn::plan::graph
