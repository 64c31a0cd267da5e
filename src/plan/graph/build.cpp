#include "plan/graph/build.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "analysis/expr/check.h"
#include "analysis/expr/field_refs.h"
#include "plan/graph/action_order.h"
#include "plan/graph/edge_list.h"
#include "plan/graph/sources.h"
#include "plan/graph/topological_order.h"
#include "plan/planning_error.h"

namespace vorn::plan::graph {
namespace {

using model::DependencyReason;
using model::PlanNode;
using vorn::model::Expression;
using vorn::model::Rule;
using vorn::model::RulePhase;
using vorn::model::SemanticAction;
using vorn::model::TransformationContract;

constexpr validation::context::DiagnosticRow kCycle{diagnostics::Code::CyclicDependency,
                                                    diagnostics::DiagnosticCategory::Semantic,
                                                    "dependency graph contains a cycle involving '{}'",
                                                    "dependencies", ""};

void add_lineage(const TransformationContract& contract, EdgeList& edges) {
  if (!contract.lineage) return;
  for (const auto& mapping : contract.lineage->mappings) {
    for (const auto& input : mapping.inputs) edges.push_edge(input, mapping.output, DependencyReason::Lineage);
  }
}

// An action on "<interface>.<field>" reads from that input, or from what the
// lineage maps to that output.
void add_action_inputs(const TransformationContract& contract, const std::vector<PlanNode>& nodes,
                       const Sources& sources, EdgeList& edges) {
  std::unordered_set<std::string_view> inputs, outputs;
  for (const auto& input : contract.inputs) inputs.insert(input.id);
  for (const auto& output : contract.outputs) outputs.insert(output.id);
  for (const PlanNode& node : nodes) {
    const auto* action = node.kind.get_if<SemanticAction>();
    if (!action) continue;
    std::string_view target = action->target;
    std::size_t dot = target.find('.');
    if (dot == std::string_view::npos) continue;
    std::string_view prefix = target.substr(0, dot);
    if (inputs.contains(prefix)) {
      edges.push_edge(prefix, node.id, DependencyReason::FieldRead);
    } else if (outputs.contains(prefix)) {
      for (std::string_view input : sources.lineage_inputs(prefix))
        edges.push_edge(input, node.id, DependencyReason::Lineage);
    }
  }
}

void add_expression_reads(const std::vector<PlanNode>& nodes, const analysis::expr::ExpressionScope& scope,
                          const vorn::model::registry::RegistryDocument& registry, const Sources& sources,
                          EdgeList& edges) {
  for (const PlanNode& node : nodes) {
    const auto* expression = node.kind.get_if<Expression>();
    if (!expression) continue;
    analysis::expr::ExpressionAnalysis checked = analysis::expr::check_expression(scope, *expression, registry);
    if (!checked.expr) continue;
    for (const std::string& name : analysis::expr::collect_field_refs(*checked.expr)) {
      for (std::string_view source : sources.for_target(name))
        edges.push_edge(source, node.id, DependencyReason::FieldRead);
    }
  }
}

// Each rule precedes the rules of later phases on the same target. Pairing
// only within a target's group, and only with later phases, finds the same
// edges in the same order as comparing every pair of rules would.
void add_rule_phases(const std::vector<PlanNode>& nodes, EdgeList& edges) {
  struct Later {
    std::vector<const PlanNode*> after_precondition;  // execution and postcondition rules
    std::vector<const PlanNode*> postconditions;
  };
  std::unordered_map<std::string_view, Later> by_target;
  for (const PlanNode& node : nodes) {
    const auto* rule = node.kind.get_if<Rule>();
    if (!rule || rule->phase == RulePhase::Precondition) continue;
    Later& later = by_target[rule->target];
    later.after_precondition.push_back(&node);
    if (rule->phase == RulePhase::Postcondition) later.postconditions.push_back(&node);
  }
  for (const PlanNode& node : nodes) {
    const auto* rule = node.kind.get_if<Rule>();
    if (!rule || rule->phase == RulePhase::Postcondition) continue;
    auto it = by_target.find(rule->target);
    if (it == by_target.end()) continue;
    const auto& successors = rule->phase == RulePhase::Precondition ? it->second.after_precondition
                                                                     : it->second.postconditions;
    for (const PlanNode* later : successors) edges.push_edge(node.id, later->id, DependencyReason::RulePhase);
  }
}

void add_interface_conditions(const TransformationContract& contract, const std::vector<PlanNode>& nodes,
                              const Sources& sources, EdgeList& edges) {
  std::unordered_set<std::string_view> rules;
  for (const PlanNode& node : nodes) {
    if (node.kind.get_if<Rule>()) rules.insert(node.id);
  }
  for (const auto& input : contract.inputs) {
    for (const auto& condition : input.preconditions) {
      if (rules.contains(condition.rule))
        edges.push_edge(input.id, condition.rule, DependencyReason::InterfaceCondition);
    }
  }
  for (const auto& output : contract.outputs) {
    for (const auto& condition : output.postconditions) {
      if (!rules.contains(condition.rule)) continue;
      for (std::string_view input : sources.lineage_inputs(output.id))
        edges.push_edge(input, condition.rule, DependencyReason::InterfaceCondition);
    }
  }
}

void add_rule_reads(const std::vector<PlanNode>& nodes, const Sources& sources, EdgeList& edges) {
  for (const PlanNode& node : nodes) {
    const auto* rule = node.kind.get_if<Rule>();
    if (!rule) continue;
    for (std::string_view source : sources.for_target(rule->target))
      edges.push_edge(source, node.id, DependencyReason::FieldRead);
  }
}

bool edge_less(const model::PlanDependency& a, const model::PlanDependency& b) {
  if (int c = a.from.compare(b.from)) return c < 0;
  if (int c = a.to.compare(b.to)) return c < 0;
  return a.reason < b.reason;
}

}  // namespace

BuildResult build(const TransformationContract& contract, const std::vector<PlanNode>& nodes,
                  const vorn::model::registry::RegistryDocument& registry) {
  BuildResult result;
  analysis::expr::ExpressionScope scope = analysis::expr::ExpressionScope::from_contract(contract);
  Sources sources(contract, nodes, scope.fields);
  EdgeList edges;
  add_lineage(contract, edges);
  order_actions(contract, nodes, edges, result.diagnostics);
  add_action_inputs(contract, nodes, sources, edges);
  chain_writers(contract, nodes, edges);
  add_expression_reads(nodes, scope, registry, sources, edges);
  add_rule_phases(nodes, edges);
  add_interface_conditions(contract, nodes, sources, edges);
  add_rule_reads(nodes, sources, edges);
  // Named by an edge that Kahn's algorithm could not remove, so that the id
  // lies on a cycle or behind one, never on the acyclic part of the graph.
  if (const auto* edge = first_edge_left_in_cycle(contract, nodes, edges.edges())) {
    std::string message = validation::context::render(kCycle.message, edge->from);
    result.diagnostics.push_back(planning_error(kCycle, std::move(message), std::string(kCycle.object_ref)));
  }
  result.dependencies = edges.take();
  // No two edges are equal, so no sort can order them differently.
  std::sort(result.dependencies.begin(), result.dependencies.end(), edge_less);
  return result;
}

}  // namespace vorn::plan::graph
