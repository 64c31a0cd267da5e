#pragma once
// The dependencies of a plan derived again after its nodes changed.

#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/registry/registry.h"
#include "plan/model/plan.h"

namespace vorn::plan::optimize {

// Builds the graph over the plan's interfaces and nodes (it reads the node
// records from the nodes themselves) and appends all of its diagnostics.
// When one of them is an error, the "failed to rebuild" error follows and
// the plan keeps its old dependencies; otherwise the new ones replace them.
void rebuild_dependencies(model::TransformationPlan& plan, const vorn::model::registry::RegistryDocument& registry,
                          std::vector<diagnostics::Diagnostic>& out);

}  // namespace vorn::plan::optimize
