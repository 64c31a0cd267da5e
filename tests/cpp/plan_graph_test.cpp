// Graph building asserted as whole dependency lists and whole diagnostic
// lists; Kahn's order as whole vertex lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plan/graph/build.h"
#include "plan/graph/topological_order.h"
#include "plan/lowering/nodes.h"
#include "registry/default_registry.h"
#include "validation_test_support.h"

namespace vorn::plan::graph {
namespace {

using validation_test::Expected;

// "from>to reason, ..."
std::string edges_text(const std::vector<model::PlanDependency>& edges) {
  std::string out;
  for (const auto& e : edges)
    out += (out.empty() ? "" : ", ") + e.from + ">" + e.to + " " + std::string(to_string(e.reason));
  return out;
}

Expected planning(const char* code, const char* category, std::string message, std::string ref,
                  std::optional<std::string> remediation = std::nullopt) {
  return {code, "planning", category, std::move(message), std::move(ref), std::move(remediation)};
}

constexpr const char* kMissing = "Include all semantic actions in the explicit order list";
constexpr const char* kShared = "Declare semantics.ordering or avoid overlapping semantic action targets";
Expected cycle(const char* id) {
  return planning("vorn:cyclic-dependency", "semantic",
                  std::string("dependency graph contains a cycle involving '") + id + "'", "dependencies");
}

// Input `in` (fields x, y) and output `out` (fields x, z), mapped by lineage.
constexpr const char* kInterfaces =
    "inputs: [{id: in, schema: {fields: [{name: x, type: integer, nullable: false},"
    " {name: y, type: integer, nullable: false}]}}]\n"
    "outputs: [{id: out, schema: {fields: [{name: x, type: integer, nullable: false},"
    " {name: z, type: integer, nullable: false}]}}]\n";
constexpr const char* kLineage = "lineage: {mappings: [{output: out, inputs: [in, ghost]}]}\n";

struct Case {
  const char* name;
  std::string body;
  std::string edges;
  std::vector<Expected> diagnostics;
};

class GraphBuild : public ::testing::TestWithParam<Case> {};

TEST_P(GraphBuild, EdgesAndDiagnostics) {
  auto contract = validation_test::contract_of(validation_test::kHeader + GetParam().body);
  BuildResult result = build(contract, lowering::make_nodes(contract), registry::default_registry());
  EXPECT_EQ(edges_text(result.dependencies), GetParam().edges);
  EXPECT_EQ(validation_test::json_of(result.diagnostics), validation_test::json_of(GetParam().diagnostics));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, GraphBuild,
    ::testing::Values(
        Case{"unordered_writers_chain_by_id",
             std::string(kInterfaces) +
                 "semanticActions: [{id: b, action: t, target: in.x}, {id: a, action: t, target: in.x}]\n"
                 "semantics: {ordering: {mode: unordered}}\n",
             "a>b fieldWrite, in>a fieldRead, in>b fieldRead",
             {planning("vorn:invalid-plan", "semantic",
                       "multiple semantic actions target 'in.x' without an explicit ordering declaration",
                       "semantics.ordering", kShared)}},
        // The first edge recorded (ghost>out) lies outside the cycle; the
        // diagnostic names a vertex on it.
        Case{"ordering_rows_and_a_cycle_named_from_inside",
             std::string(kInterfaces) + kLineage +
                 "semanticActions: [{id: a, action: t, target: in.x}, {id: b, action: t, target: in.x},"
                 " {id: c, action: t, target: out}]\n"
                 "semantics: {ordering: {mode: explicit, order: [a, z, b, a]}}\n",
             "a>b fieldWrite, a>z explicitOrder, b>a fieldWrite, b>a explicitOrder, ghost>out lineage, in>a fieldRead, "
             "in>b fieldRead, in>out lineage, z>b explicitOrder",
             {planning("vorn:unresolved-plan-reference", "reference",
                       "semantics.ordering references unknown semantic action 'z'", "semantics.ordering.order[1]",
                       "Reference only declared semantic action identifiers in semantics.ordering"),
              planning("vorn:invalid-plan", "semantic", "semantics.ordering contains duplicate action id 'a'",
                       "semantics.ordering.order[3]"),
              planning("vorn:invalid-plan", "semantic", "semantics.ordering is missing semantic action 'c'",
                       "semantics.ordering", kMissing),
              cycle("b")}},
        Case{"short_orderings_add_no_edge",
             std::string(kInterfaces) + "semanticActions: [{id: a, action: t, target: in}]\n"
                                        "semantics: {ordering: [explicit, [a, a]]}\n",
             "",
             {planning("vorn:invalid-plan", "semantic", "semantics.ordering contains duplicate action id 'a'",
                       "semantics.ordering.order[1]")}},
        Case{"action_targets_read_inputs_or_lineage",
             std::string(kInterfaces) + kLineage +
                 "semanticActions: [{id: a, action: t, target: in.nothing}, {id: b, action: t, target: out.z},"
                 " {id: c, action: t, target: x}]\n",
             "ghost>b lineage, ghost>out lineage, in>a fieldRead, in>b lineage, in>out lineage",
             {}},
        Case{"rule_phases_pair_within_a_target",
             std::string(kInterfaces) +
                 "rules: [{id: q, rule: r, target: in.x, phase: postcondition}, {id: e, rule: r, target: in.x,"
                 " phase: execution}, {id: p, rule: r, target: in.x, phase: precondition},"
                 " {id: p2, rule: r, target: in.x, phase: precondition}, {id: o, rule: r, target: in.y,"
                 " phase: postcondition}]\n",
             "e>q rulePhase, in>e fieldRead, in>o fieldRead, in>p fieldRead, in>p2 fieldRead, in>q fieldRead, "
             "p>e rulePhase, p>q rulePhase, p2>e rulePhase, p2>q rulePhase",
             {}},
        Case{"expression_reads_the_one_writer",
             std::string(kInterfaces) + kLineage +
                 "semanticActions: [{id: w, action: t, target: out.z}]\n"
                 "expressions: [{id: e, expr: 'out.z + y'}]\n",
             "ghost>out lineage, ghost>w lineage, in>e fieldRead, in>out lineage, in>w lineage, w>e fieldRead",
             {}},
        Case{"expression_reads_the_writer_listed_last",
             std::string(kInterfaces) + kLineage +
                 "semanticActions: [{id: v, action: t, target: out.z}, {id: w, action: t, target: out.z}]\n"
                 "expressions: [{id: e, expr: 'out.z'}]\nsemantics: {ordering: {mode: explicit, order: [w, v]}}\n",
             "ghost>out lineage, ghost>v lineage, ghost>w lineage, in>out lineage, in>v lineage, in>w lineage, "
             "v>e fieldRead, w>v fieldWrite, w>v explicitOrder",
             {}},
        Case{"expression_reads_lineage_between_unordered_writers",
             std::string(kInterfaces) + kLineage +
                 "semanticActions: [{id: v, action: t, target: out.z}, {id: w, action: t, target: out.z}]\n"
                 "expressions: [{id: e, expr: 'out.z'}]\n",
             "ghost>e fieldRead, ghost>out lineage, ghost>v lineage, ghost>w lineage, in>e fieldRead, "
             "in>out lineage, in>v lineage, in>w lineage, v>w fieldWrite",
             {planning("vorn:invalid-plan", "semantic",
                       "multiple semantic actions target 'out.z' without an explicit ordering declaration",
                       "semantics.ordering", kShared)}},
        Case{"interface_conditions",
             "inputs: [{id: in, preconditions: [{rule: p}, {rule: nothing}]}]\n"
             "outputs: [{id: out, postconditions: [{rule: q}]}]\n" +
                 std::string(kLineage) +
                 "rules: [{id: p, rule: r, target: elsewhere, phase: precondition}, {id: q, rule: r, target: out,"
                 " phase: postcondition}]\n",
             "ghost>out lineage, ghost>q fieldRead, ghost>q interfaceCondition, in>out lineage, in>p "
             "interfaceCondition, in>q fieldRead, in>q interfaceCondition",
             {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct OrderCase {
  const char* name;
  std::vector<std::string> nodes;  // besides the input i and the output o
  std::vector<std::pair<std::string, std::string>> edges;
  std::string order;  // "" for a cycle
  bool acyclic;
};

class KahnOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(KahnOrder, FirstInFirstOut) {
  vorn::model::TransformationContract contract;
  contract.inputs.push_back({.id = "i"});
  contract.outputs.push_back({.id = "o"});
  std::vector<model::PlanNode> nodes;
  for (const auto& id : GetParam().nodes) nodes.push_back({id, {vorn::model::SemanticAction{id, "t", "i"}}, ""});
  std::vector<model::PlanDependency> edges;
  for (const auto& [from, to] : GetParam().edges) edges.push_back({from, to, model::DependencyReason::FieldRead});
  std::string order;
  for (const auto& id : topological_order(contract, nodes, edges)) order += (order.empty() ? "" : " ") + id;
  EXPECT_EQ(order, GetParam().order);
  EXPECT_EQ(is_acyclic(contract, nodes, edges), GetParam().acyclic);
}

INSTANTIATE_TEST_SUITE_P(
    Graphs, KahnOrder,
    ::testing::Values(
        OrderCase{"ready_in_ascending_order", {"b", "a"}, {{"i", "b"}, {"i", "a"}, {"a", "o"}, {"b", "o"}},
                  "i a b o", true},
        OrderCase{"freed_later_joins_the_back", {"a", "b", "c", "d"}, {{"b", "a"}}, "b c d i o a", true},
        OrderCase{"repeated_edges_count_each_time", {"a", "b"}, {{"a", "b"}, {"a", "b"}}, "a i o b", true},
        OrderCase{"unknown_ends_ignored", {"a"}, {{"ghost", "a"}, {"a", "ghost"}}, "a i o", true},
        OrderCase{"a_shared_id_is_one_vertex", {"i", "o"}, {{"i", "o"}}, "i o", true},
        OrderCase{"two_cycle", {"a", "b"}, {{"a", "b"}, {"b", "a"}}, "", false},
        OrderCase{"self_loop", {"a"}, {{"a", "a"}}, "", false},
        OrderCase{"no_edges", {}, {}, "i o", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::plan::graph
