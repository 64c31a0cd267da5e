// Removal of duplicate rules.

#include <string>
#include <unordered_set>

#include <fmt/format.h>

#include "plan/optimize/passes.h"
#include "plan/rule_key.h"

namespace vorn::plan::optimize {

void remove_duplicate_rules(model::TransformationPlan& plan, const ProtectedIds& kept, OptimizeResult& out) {
  RemovedIds removed;
  std::unordered_set<std::string> seen;
  for (const model::PlanNode& node : plan.nodes) {
    const auto* rule = node.kind.get_if<vorn::model::Rule>();
    if (!rule) continue;
    if (seen.insert(rule_key::rule_dedup_key(*rule)).second || kept.contains(node.id)) continue;
    removed.insert(node.id);
    out.transforms.push_back({"rule", node.id,
                              fmt::format("removed duplicate rule '{}' on target '{}' ({})", rule->rule,
                                          rule->target, vorn::model::to_string(rule->phase))});
  }
  drop_nodes(plan, removed);
}

}  // namespace vorn::plan::optimize
