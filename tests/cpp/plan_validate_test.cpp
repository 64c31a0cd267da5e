// Plan validation, one table row per check, asserted as whole diagnostic
// lists. Each row patches a valid plan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plan/validate/validate.h"
#include "registry/default_registry.h"
#include "validation_test_support.h"

namespace vorn::plan::validate {
namespace {

using validation_test::Expected;
using Json = nlohmann::json;

const Json kValidPlan = Json::parse(R"({
  "identity": {"vornVersion": "1.0.0", "id": "p", "name": "P", "version": "1.0.0"},
  "inputs": [{"id": "in", "schema": {"fields": [{"name": "a", "type": "integer", "nullable": false},
                                                {"name": "d", "type": "decimal", "nullable": false}]}}],
  "outputs": [{"id": "out", "schema": {"fields": [{"name": "b", "type": "integer", "nullable": false}]}}],
  "nodes": [], "dependencies": [], "lineage": {"mappings": [{"output": "out", "inputs": ["in"]}]},
  "guarantees": {}})");

std::string node(const std::string& id, const std::string& section, const std::string& body) {
  return R"({"id":")" + id + R"(","objectRef":")" + section + "." + id + R"(","kind":{"id":")" + id + "\"," + body +
         "}}";
}
std::string action(const std::string& id, const std::string& target) {
  return node(id, "semanticActions", R"("kind":"semanticAction","action":"t","target":")" + target + "\"");
}
std::string rule(const std::string& id, const std::string& target) {
  return node(id, "rules", R"("kind":"rule","rule":"r","phase":"execution","target":")" + target + "\"");
}
std::string expression(const std::string& id, const std::string& expr, const std::string& type) {
  return node(id, "expressions", R"("kind":"expression","expr":")" + expr + R"(","type":")" + type + "\"");
}

Expected error(const char* code, const char* category, std::string message, std::string ref) {
  return {code, "planning", category, std::move(message), std::move(ref), std::nullopt};
}
constexpr const char* kUnresolved = "vorn:unresolved-plan-reference";

struct Case {
  const char* name;
  std::string patch;  // merged over the valid plan
  std::vector<Expected> expected;
};

class PlanValidation : public ::testing::TestWithParam<Case> {};

TEST_P(PlanValidation, ReportsExactly) {
  Json plan = kValidPlan;
  plan.merge_patch(Json::parse(GetParam().patch));
  auto read = model::TransformationPlan::from_json(plan.dump());
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(validation_test::json_of(validate_with_registry(read.value(), registry::default_registry())),
            validation_test::json_of(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, PlanValidation,
    ::testing::Values(
        Case{"valid", "{}", {}},
        Case{"no_interfaces",
             R"({"inputs": [], "outputs": [], "lineage": null})",
             {error("vorn:incomplete-plan", "structure", "plan is missing inputs", "inputs"),
              error("vorn:incomplete-plan", "structure", "plan is missing outputs", "outputs")}},
        Case{"duplicate_node_ids",
             R"({"nodes": [)" + action("a", "in") + "," + rule("a", "in") + "," + rule("a", "in") + "]}",
             {error("vorn:invalid-plan", "structure", "duplicate plan node id 'a'", "rules.a"),
              error("vorn:invalid-plan", "structure", "duplicate plan node id 'a'", "rules.a")}},
        Case{"unknown_ends_and_a_cycle",
             R"({"nodes": [)" + action("a", "in") + "," + action("b", "in") +
                 R"(], "dependencies": [{"from": "a", "to": "b", "reason": "fieldRead"},
                    {"from": "x", "to": "y", "reason": "lineage"}, {"from": "b", "to": "a", "reason": "fieldRead"}]})",
             {error(kUnresolved, "reference", "dependency source 'x' is not a known node or interface",
                    "dependencies[1].from"),
              error(kUnresolved, "reference", "dependency target 'y' is not a known node or interface",
                    "dependencies[1].to"),
              error("vorn:cyclic-dependency", "semantic", "plan dependency graph contains a cycle", "dependencies")}},
        Case{"no_lineage_block",
             R"({"outputs": [{"id": "o1"}, {"id": "o2"}], "lineage": null})",
             {error("vorn:incomplete-plan", "structure", "output 'o1' has no lineage mapping", "lineage"),
              error("vorn:incomplete-plan", "structure", "output 'o2' has no lineage mapping", "lineage")}},
        Case{"lineage_names_unknown_interfaces",
             R"({"lineage": {"mappings": [{"output": "gone", "inputs": ["in", "nowhere"]}]}})",
             {error("vorn:incomplete-plan", "structure", "output 'out' is not covered by lineage mappings",
                    "lineage.mappings"),
              error(kUnresolved, "reference", "lineage references unknown output 'gone'", "lineage.mappings"),
              error(kUnresolved, "reference", "lineage references unknown input 'nowhere'", "lineage.mappings")}},
        Case{"targets_resolve_or_not",
             R"({"nodes": [)" + action("a1", "in") + "," + action("a2", "b") + "," + action("a3", "in.zz") + "," +
                 rule("r1", "out.b") + "," + rule("r2", "nowhere") + "]}",
             {error(kUnresolved, "reference", "semantic action target 'in.zz' could not be resolved",
                    "semanticActions.a3"),
              error(kUnresolved, "reference", "rule target 'nowhere' could not be resolved", "rules.r2")}},
        Case{"expression_types",
             R"({"nodes": [)" + expression("e1", "in.a + in.d", "integer") + "," +
                 expression("e2", "in.a + 1", "integer") + "," + expression("e3", "in.d", "list<") + "," +
                 expression("e4", "in.a +", "integer") + "]}",
             {error("vorn:plan-type-mismatch", "type",
                    "expression declared type 'integer' does not match inferred type", "expressions.e1"),
              {"vorn:invalid-expression", "analysis", "syntax",
               "expected a literal, field reference, function call, or parenthesized expression", "expressions.e4",
               "Fix expression syntax (operators, parentheses, or string literals)"}}},
        Case{"interface_conditions_name_nodes",
             R"({"nodes": [)" + expression("e", "1", "integer") +
                 R"(], "guarantees": {"inputPreconditions": [{"interfaceId": "in", "isInput": true, "ruleId": "e"},
                    {"interfaceId": "in", "isInput": true, "ruleId": "r"}],
                    "outputPostconditions": [{"interfaceId": "out", "isInput": false, "ruleId": "q"}]}})",
             {error(kUnresolved, "reference", "input precondition references unknown rule 'r'",
                    "inputs.in.preconditions"),
              error(kUnresolved, "reference", "output postcondition references unknown rule 'q'",
                    "outputs.out.postconditions")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::plan::validate
