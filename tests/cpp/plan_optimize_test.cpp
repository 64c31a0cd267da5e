// Optimization, one table row per pass behaviour: whole transform-record
// lists, whole diagnostic lists and a summary of the plan that comes out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plan/equivalence/equivalent.h"
#include "plan/optimize/optimize.h"
#include "plan_test_support.h"
#include "registry/default_registry.h"

namespace vorn::plan::optimize {
namespace {

using plan_test::action;
using plan_test::expression;
using plan_test::nodes;
using plan_test::rule;
using plan_test::with;

// The nodes (an expression with its text), an explicit ordering and the
// findings' paths; "no plan" when there is none.
std::string summary(const OptimizeResult& result) {
  if (!result.plan) return "no plan";
  std::string out;
  for (const auto& node : result.plan->nodes) {
    const auto* e = node.kind.get_if<vorn::model::Expression>();
    out += node.id + (e && e->expr ? "=" + *e->expr : "") + " ";
  }
  const auto& semantics = result.plan->guarantees.semantics;
  if (semantics && semantics->ordering)
    for (const auto& id : semantics->ordering->order) out += "order:" + id + " ";
  for (const auto& finding : result.plan->findings) out += "finding:" + finding.object_ref + " ";
  return out;
}

struct Case {
  const char* name;
  std::string patch;
  OptimizeOptions options;
  std::vector<TransformRecord> transforms;
  std::string diagnostics;  // the JSON list
  std::string plan;         // summary()
};

constexpr OptimizeOptions kAll{};
constexpr OptimizeOptions kNoDead{true, true, true, true, false, true};
constexpr OptimizeOptions kExpressionOnly{true, false, false, false, false, false};
constexpr OptimizeOptions kFunctionOnly{false, true, false, false, false, true};
constexpr OptimizeOptions kNoValidation{true, true, true, true, false, false};
constexpr OptimizeOptions kActionsOnly{false, false, true, false, false, false};

std::string skipped(const std::string& pass, const std::string& id) {
  return R"({"id":"vorn:optimization-skipped","severity":"information","stage":"optimization",)"
         R"("category":"semantic","message":"skipped )" + pass + " rewrite for node '" + id +
         R"(' due to type guard","objectRef":"expressions.)" + id + R"("})";
}

const std::string kHuge = "1" + std::string(308, '0') + ".0";  // 1e308

// What analysis said about e1, about e10, about parts of e1, on a path that
// starts with e1 and on one whose segment only ends with e1.
const std::string kFindings = R"({"findings": [{"objectRef": "expressions.e1", "kind": "k", "message": "m"},
    {"objectRef": "expressions.e10", "kind": "k", "message": "m"},
    {"objectRef": "expressions.e1.x", "kind": "k", "message": "m"},
    {"objectRef": "expressions.e1[0]", "kind": "k", "message": "m"},
    {"objectRef": "e1", "kind": "k", "message": "m"},
    {"objectRef": "expressions.xe1", "kind": "k", "message": "m"}]})";

class Optimize : public ::testing::TestWithParam<Case> {};

TEST_P(Optimize, RecordsDiagnosesAndRewrites) {
  OptimizeResult result =
      optimize_with_registry(plan_test::plan_of(GetParam().patch), registry::default_registry(), GetParam().options);
  EXPECT_EQ(result.transforms, GetParam().transforms);
  EXPECT_EQ(validation_test::json_of(result.diagnostics), "[" + GetParam().diagnostics + "]");
  EXPECT_EQ(summary(result), GetParam().plan);
}

INSTANTIATE_TEST_SUITE_P(
    Passes, Optimize,
    ::testing::Values(
        Case{"identities_drop_and_the_findings_about_the_old_text_go",
             with(nodes({expression("e1", "in.price * 1 + 0")}), kFindings), kAll,
             {{"expression", "e1", "rewrote expression '(in.price * 1) + 0' to 'in.price'"}}, "",
             "e1=in.price finding:expressions.e10 finding:expressions.e1.x finding:expressions.e1[0] finding:e1 "
             "finding:expressions.xe1 "},
        Case{"text_already_canonical_up_to_spacing_is_left_as_written",
             nodes({expression("e1", "in.price+in.price")}), kAll, {}, "", "e1=in.price+in.price "},
        Case{"calls_fold_without_simplifying_under_the_function_pass",
             nodes({expression("e1", "vorn:length(vorn:concat('ab', 'c')) + in.qty * 1", "integer")}),
             kFunctionOnly,
             {{"function", "e1",
               R"(evaluated function expression 'vorn:length(vorn:concat("ab", "c")) + (in.qty * 1)' to )"
               R"('3 + (in.qty * 1)')"}},
             "", "e1=3 + (in.qty * 1) "},
        // Stored as 2, the sum e2 would read back as an integer.
        Case{"the_expression_pass_folds_calls_and_keeps_declared_types",
             nodes({expression("e1", "vorn:upper('ab')", "string"), expression("e2", "1.0 + 1.0", "decimal")}),
             kNoDead, {{"expression", "e1", R"(rewrote expression 'vorn:upper("ab")' to '"AB"')"}},
             skipped("expression", "e2") + "," + skipped("function", "e2"), R"(e1="AB" e2=1.0 + 1.0 )"},
        // An untyped decimal product with 0 would read back as an integer;
        // inf, -0, NaN and 1e20 as a field, an integer, a field and an
        // integer literal out of range. A declared type that does not parse
        // or a rewrite that does not type rejects, unless the original did
        // not type either.
        Case{"texts_that_read_back_otherwise_or_do_not_type_are_not_stored",
             nodes({expression("e0", "in.price * 0"), expression("e1", kHuge + " * 10", "decimal"),
                    expression("e2", "-(0.0) + 0.0"), expression("e3", kHuge + " * 10 - " + kHuge + " * 10"),
                    expression("e4", "100000000000000000000.0 + 0.0"), expression("e5", "in.qty * 0"),
                    expression("e6", "1 + 1", "list<"), expression("e7", "in.nope + 0", "integer"),
                    expression("e8", "in.nope * 1")}),
             kExpressionOnly,
             {{"expression", "e5", "rewrote expression 'in.qty * 0' to '0'"},
              {"expression", "e8", "rewrote expression 'in.nope * 1' to 'in.nope'"}},
             skipped("expression", "e0") + "," + skipped("expression", "e1") + "," + skipped("expression", "e2") +
                 "," + skipped("expression", "e3") + "," + skipped("expression", "e4") + "," +
                 skipped("expression", "e6") + "," + skipped("expression", "e7"),
             "e0=in.price * 0 e1=" + kHuge + " * 10 e2=-(0.0) + 0.0 e3=" + kHuge + " * 10 - " + kHuge +
                 " * 10 e4=100000000000000000000.0 + 0.0 e5=0 e6=1 + 1 e7=in.nope + 0 e8=in.nope "},
        Case{"repeated_idempotent_actions_go_from_nodes_and_ordering",
             nodes({action("a1", "vorn:trim", "in.name"), action("a2", "vorn:trim", "in.name"),
                    action("a3", "vorn:trim", "in.name"), action("b1", "vorn:trim", "in.qty"),
                    action("b2", "vorn:capitalize", "in.qty"), action("b3", "vorn:trim", "in.qty"),
                    action("c1", "vorn:hash_sha256", "in"), action("c2", "vorn:hash_sha256", "in")},
                   {"a1", "a2", "a3", "b1", "b2", "b3", "c1", "c2"}),
             kAll,
             {{"action", "a2", "removed redundant idempotent action 'vorn:trim' on target 'in.name' after 'a1'"},
              {"action", "a3", "removed redundant idempotent action 'vorn:trim' on target 'in.name' after 'a1'"}},
             "", "a1 b1 b2 b3 c1 c2 order:a1 order:b1 order:b2 order:b3 order:c1 order:c2 "},
        Case{"actions_and_rules_named_by_conditions_stay",
             nodes({action("a1", "vorn:trim", "in.name"), action("a2", "vorn:trim", "in.name"), rule("r1"),
                    rule("r2")},
                   {"a1", "a2"}, {"a2", "r2"}),
             kAll, {}, "", "a1 a2 r1 r2 order:a1 order:a2 "},
        Case{"duplicate_rules_go_unless_their_parameters_are_ordered_differently",
             nodes({rule("r1", R"({"min": 0, "max": 5})"), rule("r2", R"({"max": 5, "min": 0})"),
                    rule("r3", R"({"min": 0, "max": 5})")}),
             kAll, {{"rule", "r3", "removed duplicate rule 'vorn:range' on target 'in.qty' (precondition)"}}, "",
             "r1 r2 "},
        Case{"unused_expressions_go_with_their_findings_only",
             with(nodes({expression("e1", "1"), expression("e10", "in.qty")}), kFindings), kAll,
             {{"deadExpression", "e1", "removed unused expression node"}}, "",
             "e10=in.qty finding:expressions.e10 finding:expressions.xe1 "},
        // Shared ids fail validation, so it is off.
        Case{"an_unused_expression_goes_without_the_action_sharing_its_id",
             nodes({action("x", "vorn:trim", "name"), expression("x", "1")}), {true, true, true, true, true, false},
             {{"deadExpression", "x", "removed unused expression node"}}, "", "x "},
        Case{"a_cycle_keeps_every_action_and_a_failed_rebuild_leaves_no_plan",
             with(nodes({action("a1", "vorn:trim", "in.name"), action("a2", "vorn:trim", "in.name")}),
                  R"({"dependencies": [{"from": "a1", "to": "a2", "reason": "fieldWrite"},
                                       {"from": "a2", "to": "a1", "reason": "fieldWrite"}]})"),
             kActionsOnly, {},
             R"({"id":"vorn:invalid-plan","severity":"error","stage":"planning","category":"semantic",)"
             R"("message":"multiple semantic actions target 'in.name' without an explicit ordering declaration",)"
             R"("objectRef":"semantics.ordering","remediation":"Declare semantics.ordering or avoid overlapping )"
             R"(semantic action targets"},{"id":"vorn:invalid-optimization","severity":"error",)"
             R"("stage":"optimization","category":"semantic",)"
             R"("message":"failed to rebuild dependency graph after optimization","objectRef":"dependencies"})",
             "no plan"},
        Case{"an_invalid_input_is_not_optimized",
             with(nodes({expression("e1", "1 + 0")}), R"({"inputs": [], "dependencies": []})"), kAll, {},
             R"({"id":"vorn:incomplete-plan","severity":"error","stage":"planning","category":"structure",)"
             R"("message":"plan is missing inputs","objectRef":"inputs"},)"
             R"({"id":"vorn:unresolved-plan-reference","severity":"error","stage":"planning",)"
             R"("category":"reference","message":"lineage references unknown input 'in'",)"
             R"("objectRef":"lineage.mappings"},)"
             R"({"id":"vorn:invalid-optimization","severity":"error","stage":"optimization",)"
             R"("category":"semantic","message":"input plan failed validation","objectRef":"plan"})",
             "no plan"}),
    [](const auto& info) { return std::string(info.param.name); });

// A million levels. Validation is off: it types the trees as the expression
// tests do already.
TEST(Optimize, ExpressionsOfAnyDepthAreRewrittenAndCompared) {
  constexpr std::size_t kDeep = 1'000'000;
  auto repeat = [](const std::string& piece) {
    std::string out;
    for (std::size_t i = 0; i < kDeep; ++i) out += piece;
    return out;
  };
  const std::string kCases[][3] = {{repeat("vorn:upper(") + "'a'" + repeat(")"), "string", "\"A\""},
                                   {repeat("-(") + "in.qty" + repeat(")"), "", kDeep % 2 ? "-in.qty" : "in.qty"},
                                   {"in.qty" + repeat(" * 1"), "", "in.qty"}};
  for (const auto& [text, type, stored] : kCases) {
    auto plan = plan_test::plan_of(with(nodes({expression("e1", text, type)}), R"({"dependencies": []})"));
    OptimizeResult result = optimize_with_registry(plan, registry::default_registry(), kNoValidation);
    ASSERT_TRUE(result.plan) << validation_test::json_of(result.diagnostics);
    EXPECT_EQ(result.plan->nodes[0].kind.get_if<vorn::model::Expression>()->expr, stored);
    EXPECT_TRUE(equivalence::equivalent(plan, plan));
  }
}

}  // namespace
}  // namespace vorn::plan::optimize
