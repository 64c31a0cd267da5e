// Lowering asserted as whole diagnostic lists, with or without a plan; a
// lowered plan must read back equal to itself.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analysis/contract.h"
#include "plan/lowering/lower.h"
#include "plan/lowering/nodes.h"
#include "validation_test_support.h"

namespace vorn::plan::lowering {
namespace {

using validation_test::Expected;

Expected incomplete(std::string message, std::string ref) {
  return {"vorn:incomplete-plan", "planning", "structure", std::move(message), std::move(ref), std::nullopt};
}

constexpr const char* kTwoOutputs =
    "inputs: [{id: in, schema: {fields: [{name: a, type: integer, nullable: false}]}}]\n"
    "outputs: [{id: o1}, {id: o2}]\n";

struct Case {
  const char* name;
  std::string body;
  bool has_plan;
  std::vector<Expected> diagnostics;
};

class Lowering : public ::testing::TestWithParam<Case> {};

TEST_P(Lowering, PlanOrDiagnostics) {
  PlanResult result = lower(validation_test::contract_of(validation_test::kHeader + GetParam().body));
  EXPECT_EQ(result.plan.has_value(), GetParam().has_plan);
  EXPECT_EQ(validation_test::json_of(result.diagnostics), validation_test::json_of(GetParam().diagnostics));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Lowering,
    ::testing::Values(
        Case{"no_interfaces", "", false, {incomplete("plan requires at least one input", "inputs")}},
        Case{"no_outputs", "inputs: [{id: in}]\n", false, {incomplete("plan requires at least one output", "outputs")}},
        // The broken expression is never analysed: the lineage stops lowering first.
        Case{"first_uncovered_output_only",
             std::string(kTwoOutputs) +
                 "lineage: {mappings: [{output: o1, inputs: [in]}]}\nexpressions: [{id: e, expr: '+'}]\n",
             false,
             {incomplete("output 'o2' is not covered by lineage mappings", "lineage.mappings")}},
        Case{"an_output_mapped_twice",
             std::string(kTwoOutputs) + "lineage: {mappings: [{output: o1, inputs: [in]}, {output: o2, inputs: [in]},"
                                        " {output: o1, inputs: [in]}]}\n",
             true,
             {}},
        Case{"analysis_error_stops_before_validation",
             std::string(kTwoOutputs) + "expressions: [{id: e, expr: 'in.a + true'}]\n",
             false,
             {{"vorn:invalid-type", "analysis", "type",
               "operator requires numeric operands, found 'integer' and 'boolean'", "expressions.e",
               "Fix field references, operators, or function calls in the expression"}}},
        Case{"without_lineage_every_output_is_reported",
             kTwoOutputs,
             false,
             {incomplete("output 'o1' has no lineage mapping", "lineage"),
              incomplete("output 'o2' has no lineage mapping", "lineage")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Lowering, NodesSortByIdKeepingKindOrderAmongEqualIds) {
  auto contract = validation_test::contract_of(
      std::string(validation_test::kHeader) +
      "semanticActions: [{id: b, action: t, target: x}, {id: x, action: t, target: x}]\n"
      "expressions: [{id: ab}]\n"
      "rules: [{id: x, rule: r, target: x, phase: execution}, {id: a, rule: r, target: x, phase: execution}]\n");
  std::string order;
  for (const auto& node : make_nodes(contract)) order += node.object_ref + " ";
  EXPECT_EQ(order, "rules.a expressions.ab semanticActions.b semanticActions.x rules.x ");
}

TEST(Lowering, ExamplePlanCarriesTheFindingsAndReadsBackEqual) {
  std::ifstream in(std::string(VORN_SOURCE_DIR) + "/examples/orders_enrichment.yaml");
  auto contract = validation_test::contract_of({std::istreambuf_iterator<char>(in), {}});
  PlanResult result = lower(contract);
  ASSERT_TRUE(result.plan) << result.to_json();
  EXPECT_EQ(result.plan->findings, analysis::contract::check_contract(contract).findings);
  std::string text = result.plan->to_json();
  auto again = model::TransformationPlan::from_json(text);
  ASSERT_TRUE(again.ok()) << again.error();
  EXPECT_EQ(again.value(), *result.plan);
  EXPECT_EQ(again->to_json(), text);
}

}  // namespace
}  // namespace vorn::plan::lowering
