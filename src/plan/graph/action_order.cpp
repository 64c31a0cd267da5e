#include "plan/graph/action_order.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "plan/graph/sources.h"
#include "plan/planning_error.h"

namespace vorn::plan::graph {
namespace {

using diagnostics::Code;
using diagnostics::Diagnostic;
using validation::context::DiagnosticRow;
using validation::context::render;
using vorn::model::SemanticAction;

constexpr auto kSemantic = diagnostics::DiagnosticCategory::Semantic;
constexpr auto kReference = diagnostics::DiagnosticCategory::Reference;

enum Row { kDuplicateEntry, kUnknownEntry, kMissingAction, kSharedTarget };

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidPlan, kSemantic, "semantics.ordering contains duplicate action id '{}'",
     "semantics.ordering.order[{}]", ""},
    {Code::UnresolvedPlanReference, kReference, "semantics.ordering references unknown semantic action '{}'",
     "semantics.ordering.order[{}]", "Reference only declared semantic action identifiers in semantics.ordering"},
    {Code::InvalidPlan, kSemantic, "semantics.ordering is missing semantic action '{}'", "semantics.ordering",
     "Include all semantic actions in the explicit order list"},
    {Code::InvalidPlan, kSemantic, "multiple semantic actions target '{}' without an explicit ordering declaration",
     "semantics.ordering", "Declare semantics.ordering or avoid overlapping semantic action targets"},
};

Diagnostic report(Row id, std::string_view text, std::size_t index = 0) {
  const DiagnosticRow& row = kRows[id];
  return planning_error(row, render(row.message, text), render(row.object_ref, index));
}

// The action nodes' ids grouped by their exact target, in node order.
using Groups = std::unordered_map<std::string_view, std::vector<std::string_view>>;

Groups writers_by_target(const std::vector<model::PlanNode>& nodes) {
  Groups groups;
  for (const model::PlanNode& node : nodes) {
    if (const auto* action = node.kind.get_if<SemanticAction>()) groups[action->target].push_back(node.id);
  }
  return groups;
}

// The targets written by several actions, ascending, so that reports and
// edges come out the same on every run.
std::vector<std::string_view> shared_targets(const Groups& groups) {
  std::vector<std::string_view> targets;
  for (const auto& [target, ids] : groups) {
    if (ids.size() > 1) targets.push_back(target);
  }
  std::sort(targets.begin(), targets.end());
  return targets;
}

void check_listing(const std::vector<std::string>& order, const std::vector<model::PlanNode>& nodes,
                   std::vector<Diagnostic>& diagnostics) {
  std::unordered_set<std::string_view> actions;
  for (const model::PlanNode& node : nodes) {
    if (node.kind.get_if<SemanticAction>()) actions.insert(node.id);
  }
  std::unordered_set<std::string_view> listed;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (!actions.contains(order[i]))
      diagnostics.push_back(report(kUnknownEntry, order[i], i));
    else if (!listed.insert(order[i]).second)
      diagnostics.push_back(report(kDuplicateEntry, order[i], i));
  }
  std::vector<std::string_view> missing;
  for (std::string_view id : actions) {
    if (!listed.contains(id)) missing.push_back(id);
  }
  std::sort(missing.begin(), missing.end());
  for (std::string_view id : missing) diagnostics.push_back(report(kMissingAction, id));
}

}  // namespace

void order_actions(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                   EdgeList& edges, std::vector<Diagnostic>& diagnostics) {
  const std::vector<std::string>* order = explicit_order(contract);
  if (!order) {
    for (std::string_view target : shared_targets(writers_by_target(nodes)))
      diagnostics.push_back(report(kSharedTarget, target));
    return;
  }
  check_listing(*order, nodes, diagnostics);
  for (std::size_t k = 0; k + 1 < order->size(); ++k)
    edges.push_edge((*order)[k], (*order)[k + 1], model::DependencyReason::ExplicitOrder);
}

void chain_writers(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                   EdgeList& edges) {
  Groups groups = writers_by_target(nodes);
  std::vector<std::string_view> targets = shared_targets(groups);
  std::vector<std::vector<std::string_view>> chains(targets.size());
  if (const std::vector<std::string>* order = explicit_order(contract)) {
    // One walk of the ordering list fills every chain: an entry joins the
    // chain of each target its id writes (an entry listed twice, twice).
    std::unordered_map<std::string_view, std::vector<std::size_t>> chains_of;
    for (std::size_t g = 0; g < targets.size(); ++g) {
      for (std::string_view id : groups[targets[g]]) {
        auto& of = chains_of[id];
        if (of.empty() || of.back() != g) of.push_back(g);
      }
    }
    for (const std::string& entry : *order) {
      auto it = chains_of.find(entry);
      if (it == chains_of.end()) continue;
      for (std::size_t g : it->second) chains[g].push_back(entry);
    }
  } else {
    for (std::size_t g = 0; g < targets.size(); ++g) {
      chains[g] = groups[targets[g]];
      std::stable_sort(chains[g].begin(), chains[g].end());
    }
  }
  for (const auto& chain : chains) {
    for (std::size_t k = 0; k + 1 < chain.size(); ++k)
      edges.push_edge(chain[k], chain[k + 1], model::DependencyReason::FieldWrite);
  }
}

}  // namespace vorn::plan::graph
