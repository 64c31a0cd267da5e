#include "plan/optimize/rebuild.h"

#include <iterator>

#include "plan/graph/build.h"
#include "plan/optimize/diagnostics.h"
#include "plan/validate/plan_as_contract.h"

namespace vorn::plan::optimize {

void rebuild_dependencies(model::TransformationPlan& plan, const vorn::model::registry::RegistryDocument& registry,
                          std::vector<diagnostics::Diagnostic>& out) {
  graph::BuildResult built = graph::build(validate::plan_interfaces_as_contract(plan), plan.nodes, registry);
  bool failed = diagnostics::has_error(built.diagnostics);
  out.insert(out.end(), std::make_move_iterator(built.diagnostics.begin()),
             std::make_move_iterator(built.diagnostics.end()));
  if (failed) {
    out.push_back(report(Problem::kRebuildFailed));
    return;
  }
  plan.dependencies = std::move(built.dependencies);
}

}  // namespace vorn::plan::optimize
