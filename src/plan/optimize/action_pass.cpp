// Removal of redundant idempotent semantic actions.

#include <string_view>
#include <unordered_map>

#include <fmt/format.h>

#include "plan/graph/topological_order.h"
#include "plan/idempotent_actions.h"
#include "plan/optimize/passes.h"
#include "plan/validate/plan_as_contract.h"

namespace vorn::plan::optimize {
namespace {

struct KeptAction {
  std::string_view node_id;
  std::string_view action;
};

// The semantic-action nodes in execution order, each by the first node
// holding its id; empty when the dependencies hold a cycle.
std::vector<const model::PlanNode*> actions_in_execution_order(const model::TransformationPlan& plan) {
  auto order = graph::topological_order(validate::plan_interfaces_as_contract(plan), plan.nodes, plan.dependencies);
  std::unordered_map<std::string_view, const model::PlanNode*> first_by_id;
  first_by_id.reserve(plan.nodes.size());
  for (const auto& node : plan.nodes) first_by_id.emplace(node.id, &node);
  std::vector<const model::PlanNode*> actions;
  for (const std::string& id : order) {
    auto it = first_by_id.find(id);
    if (it != first_by_id.end() && it->second->kind.get_if<vorn::model::SemanticAction>())
      actions.push_back(it->second);
  }
  return actions;
}

void drop_from_explicit_order(model::TransformationPlan& plan, const RemovedIds& removed) {
  auto& semantics = plan.guarantees.semantics;
  if (!semantics || !semantics->ordering) return;
  auto& ordering = *semantics->ordering;
  if (ordering.mode != vorn::model::ActionOrdering::Mode::Explicit) return;
  std::erase_if(ordering.order, [&](const std::string& id) { return removed.contains(id); });
}

}  // namespace

void remove_idempotent_actions(model::TransformationPlan& plan, const ProtectedIds& kept, OptimizeResult& out) {
  RemovedIds removed;
  std::unordered_map<std::string_view, KeptAction> last_on_target;
  for (const model::PlanNode* node : actions_in_execution_order(plan)) {
    const auto& action = *node->kind.get_if<vorn::model::SemanticAction>();
    auto last = last_on_target.find(action.target);
    if (last != last_on_target.end() && last->second.action == action.action && is_idempotent_action(action.action) &&
        !kept.contains(node->id)) {
      removed.insert(node->id);
      out.transforms.push_back({"action", node->id,
                                fmt::format("removed redundant idempotent action '{}' on target '{}' after '{}'",
                                            action.action, action.target, last->second.node_id)});
      continue;
    }
    last_on_target.insert_or_assign(action.target, KeptAction{node->id, action.action});
  }
  if (removed.empty()) return;
  drop_nodes(plan, removed);
  drop_from_explicit_order(plan, removed);
}

}  // namespace vorn::plan::optimize
