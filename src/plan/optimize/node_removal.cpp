#include <algorithm>

#include "plan/optimize/passes.h"

namespace vorn::plan::optimize {

ProtectedIds condition_rule_ids(const model::TransformationPlan& plan) {
  ProtectedIds ids;
  for (const auto& c : plan.guarantees.input_preconditions) ids.insert(c.rule_id);
  for (const auto& c : plan.guarantees.output_postconditions) ids.insert(c.rule_id);
  return ids;
}

void drop_nodes(model::TransformationPlan& plan, const RemovedIds& removed) {
  if (removed.empty()) return;
  std::erase_if(plan.nodes, [&](const model::PlanNode& node) { return removed.contains(node.id); });
}

}  // namespace vorn::plan::optimize
