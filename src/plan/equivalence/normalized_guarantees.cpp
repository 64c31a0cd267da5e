#include "plan/equivalence/normalized_guarantees.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <fmt/format.h>

#include "plan/idempotent_actions.h"

namespace vorn::plan::equivalence {

model::PlanGuarantees normalized_guarantees(const model::TransformationPlan& plan) {
  model::PlanGuarantees g = plan.guarantees;
  if (!g.semantics || !g.semantics->ordering) return g;
  auto& ordering = *g.semantics->ordering;
  if (ordering.mode != vorn::model::ActionOrdering::Mode::Explicit) return g;
  std::unordered_map<std::string_view, const vorn::model::SemanticAction*> actions;
  actions.reserve(plan.nodes.size());
  for (const auto& node : plan.nodes) {
    if (const auto* action = node.kind.get_if<vorn::model::SemanticAction>()) actions.insert_or_assign(node.id, action);
  }
  std::vector<std::string> keys;
  for (const std::string& id : ordering.order) {
    auto it = actions.find(id);
    if (it == actions.end()) continue;
    std::string key = fmt::format("{}@{}", it->second->action, it->second->target);
    // The key's action is read back up to its first "@", as it is written.
    if (!keys.empty() && keys.back() == key && is_idempotent_action(std::string_view(key).substr(0, key.find('@'))))
      continue;
    keys.push_back(std::move(key));
  }
  ordering.order = std::move(keys);
  return g;
}

}  // namespace vorn::plan::equivalence
