// Plan equivalence, one row per pair of plans, each compared both ways and
// each plan with itself.
#include <gtest/gtest.h>

#include <string>

#include "plan/equivalence/equivalent.h"
#include "plan_test_support.h"

namespace vorn::plan::equivalence {
namespace {

using plan_test::action;
using plan_test::expression;
using plan_test::nodes;
using plan_test::rule;
using plan_test::with;

struct Case {
  const char* name;
  std::string a;  // patches over the valid plan
  std::string b;
  bool equivalent;
};

class Equivalence : public ::testing::TestWithParam<Case> {};

TEST_P(Equivalence, BothWays) {
  auto a = plan_test::plan_of(GetParam().a), b = plan_test::plan_of(GetParam().b);
  EXPECT_TRUE(equivalent(a, a));
  EXPECT_TRUE(equivalent(b, b));
  EXPECT_EQ(equivalent(a, b), GetParam().equivalent);
  EXPECT_EQ(equivalent(b, a), GetParam().equivalent);
}

const std::string kTrims = nodes({action("a1", "vorn:trim", "in.name"), action("a2", "vorn:trim", "in.name")},
                                 {"a1", "a2"});
const std::string kCycle = R"({"dependencies": [{"from": "a1", "to": "a2", "reason": "fieldWrite"},
                                                {"from": "a2", "to": "a1", "reason": "fieldWrite"}]})";

INSTANTIATE_TEST_SUITE_P(
    Pairs, Equivalence,
    ::testing::Values(
        Case{"action_node_ids_do_not_count", nodes({action("a1", "vorn:trim", "in.name")}),
             nodes({action("z9", "vorn:trim", "in.name")}), true},
        Case{"a_repeated_idempotent_action_counts_once", kTrims,
             nodes({action("a1", "vorn:trim", "in.name")}, {"a1"}), true},
        Case{"a_separated_repeat_counts_twice",
             nodes({action("l1", "vorn:lowercase", "in.name"), action("u", "vorn:uppercase", "in.name"),
                    action("l2", "vorn:lowercase", "in.name")},
                   {"l1", "u", "l2"}),
             nodes({action("l1", "vorn:lowercase", "in.name"), action("u", "vorn:uppercase", "in.name")},
                   {"l1", "u"}),
             false},
        Case{"an_ordering_entry_naming_no_action_does_not_count",
             nodes({action("a1", "vorn:trim", "in.name")}, {"a1", "ghost"}),
             nodes({action("a1", "vorn:trim", "in.name")}, {"a1"}), true},
        Case{"equal_rules_count_once", nodes({rule("r1"), rule("r2")}), nodes({rule("r1")}), true},
        Case{"an_expression_nothing_reads_or_is_read_by_does_not_count", "{}", nodes({expression("e1", "1 + 2")}),
             true},
        // An expression is read from its inputs: it is the end of its edges.
        Case{"the_body_of_an_expression_reading_a_field_counts", nodes({expression("e1", "in.qty + 1")}),
             nodes({expression("e1", "in.qty + 2")}), false},
        // The id counts through the action; the later node holding it is
        // the one compared.
        Case{"an_expression_sharing_an_action_id_counts",
             nodes({action("x", "vorn:trim", "name"), expression("x", "1 + 2")}),
             nodes({action("x", "vorn:trim", "name"), expression("x", "1 + 3")}), false},
        Case{"bodies_compare_in_normal_form", nodes({expression("e1", "in.qty+1 * 1")}),
             nodes({expression("e1", "(in.qty + 1)")}), true},
        Case{"cyclic_plans_agree_on_their_empty_fingerprints", with(kTrims, kCycle),
             with(nodes({action("a1", "vorn:trim", "in.name"), action("a2", "vorn:trim", "in.name"), rule("r1")},
                        {"a1", "a2"}),
                  kCycle),
             true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::plan::equivalence
