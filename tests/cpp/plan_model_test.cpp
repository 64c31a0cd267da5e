// Plans read from JSON and written back, asserted as whole texts or whole
// error messages.
#include <gtest/gtest.h>

#include <string>

#include "plan/model/plan.h"

namespace vorn::plan::model {
namespace {

constexpr const char* kHead =
    R"({"identity":{"vornVersion":"1.0.0","id":"p","name":"P","version":"1.0.0"},"inputs":[],"outputs":[],)";
constexpr const char* kEmpty = R"("nodes":[],"dependencies":[],"guarantees":{})";

std::string plan(const std::string& tail) { return kHead + tail + "}"; }

std::string outcome(const std::string& json) {
  auto read = TransformationPlan::from_json(json);
  if (!read) return "error: " + read.error();
  return read->to_json();
}

struct Case {
  const char* name;
  std::string json;
  std::string expected;  // the plan written back, or "error: <message>"
};

class PlanReading : public ::testing::TestWithParam<Case> {};

TEST_P(PlanReading, ReadsOrFailsExactly) { EXPECT_EQ(outcome(GetParam().json), GetParam().expected); }

std::string node_kind(const std::string& kind) {
  return plan(R"("nodes":[{"id":"e","kind":)" + kind + R"(,"objectRef":"expressions.e"}],)" +
              R"("dependencies":[],"guarantees":{})");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlanReading,
    ::testing::Values(
        Case{"minimal", plan(kEmpty), plan(kEmpty)},
        Case{"empty_optional_lists_and_unknown_keys_vanish",
             plan(R"("functions":[],"extensions":{},"findings":[],"other":1,)" + std::string(kEmpty)), plan(kEmpty)},
        Case{"guarantees_required", plan(R"("nodes":[],"dependencies":[])"),
             "error: missing field `guarantees` at line 1 column 128"},
        Case{"tag_anywhere_written_first", node_kind(R"({"expr":"1","id":"e","kind":"expression"})"),
             node_kind(R"({"kind":"expression","id":"e","expr":"1"})")},
        Case{"tagged_rule_keeps_its_omission_rules",
             node_kind(R"({"kind":"rule","id":"r","rule":"vorn:x","target":"t","phase":"execution","parameters":{}})"),
             node_kind(R"({"kind":"rule","id":"r","rule":"vorn:x","target":"t","phase":"execution"})")},
        Case{"no_tag", node_kind(R"({"id":"e"})"), "error: missing field `kind` at line 1 column 135"},
        Case{"unknown_tag", node_kind(R"({"kind":"step","id":"e"})"),
             "error: unknown variant `step`, expected one of `semanticAction`, `expression`, `rule` at line 1 "
             "column 139"},
        Case{"repeated_tag", node_kind(R"({"kind":"rule","kind":"rule"})"),
             "error: duplicate field `kind` at line 1 column 146"},
        Case{"tag_names_the_required_keys", node_kind(R"({"kind":"semanticAction","id":"a","target":"t"})"),
             "error: missing field `action` at line 1 column 172"},
        Case{"reason_as_unit_object",
             plan(R"("nodes":[],"dependencies":[{"from":"a","to":"b","reason":{"rulePhase":null}}],"guarantees":{})"),
             plan(R"("nodes":[],"dependencies":[{"from":"a","to":"b","reason":"rulePhase"}],"guarantees":{})")},
        Case{"unknown_reason",
             plan(R"("nodes":[],"dependencies":[{"from":"a","to":"b","reason":"order"}],"guarantees":{})"),
             "error: unknown variant `order`, expected one of `lineage`, `fieldRead`, `fieldWrite`, "
             "`explicitOrder`, `rulePhase`, `interfaceCondition` at line 1 column 163"},
        Case{"postconditions_only",
             plan(R"("nodes":[],"dependencies":[],"guarantees":{"outputPostconditions":)"
                  R"([{"ruleId":"r","isInput":false,"interfaceId":"o"}]})"),
             plan(R"("nodes":[],"dependencies":[],"guarantees":{"outputPostconditions":)"
                  R"([{"interfaceId":"o","isInput":false,"ruleId":"r"}]})")},
        Case{"extensions_keep_order_findings_sort_attributes",
             plan(std::string(kEmpty) + R"(,"extensions":{"x:b":1,"x:a":[2.5]},"findings":[{"message":"m",)" +
                  R"("kind":"k","objectRef":"o","attributes":{"z":1,"a":{"y":1,"b":2}}}])"),
             plan(std::string(kEmpty) + R"(,"extensions":{"x:b":1,"x:a":[2.5]},"findings":[{"objectRef":"o",)" +
                  R"("kind":"k","message":"m","attributes":{"a":{"b":2,"y":1},"z":1}}])")},
        Case{"finding_needs_message", plan(std::string(kEmpty) + R"(,"findings":[{"objectRef":"o","kind":"k"}])"),
             "error: missing field `message` at line 1 column 184"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::plan::model
