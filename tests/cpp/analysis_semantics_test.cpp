// The semantics checks, asserted as whole diagnostic and finding lists.
#include <gtest/gtest.h>

#include <string>

#include "analysis/semantics.h"
#include "parser/parse.h"
#include "registry/default_registry.h"
#include "registry/load.h"
#include "support/json_writer.h"

namespace vorn::analysis::semantics {
namespace {

std::string header() { return "vornVersion: 1.0.0\nid: c\nname: n\nversion: 1.0.0\n"; }

std::string run(const std::string& body, const model::registry::RegistryDocument& registry) {
  auto parsed = parser::parse(header() + body, parser::DocumentFormat::Yaml);
  if (!parsed.contract) return "parse: " + parsed.report.diagnostics.at(0).message;
  SemanticsResult result = check_semantics(*parsed.contract, registry);
  JsonWriter w;
  w.begin_array();
  for (const auto& d : result.diagnostics) d.serialize(w);
  for (const auto& f : result.findings) f.serialize(w);
  w.end_array();
  return w.take();
}

std::string run(const std::string& body) { return run(body, registry::default_registry()); }

std::string error(const std::string& ref, const std::string& message, const std::string& remediation,
                  const std::string& code = "vorn:invalid-semantics") {
  return R"({"id":")" + code + R"(","severity":"error","stage":"analysis","category":"semantic","message":")" +
         message + R"(","objectRef":")" + ref + R"(","remediation":")" + remediation + R"("})";
}

const std::string kOverlap = "Declare semantics.ordering or avoid overlapping semantic action targets";
const std::string kUnknown = "Reference only declared semantic action identifiers";
const std::string kDuplicate = "List each semantic action identifier at most once";
const std::string kMissing = "Include all semantic actions in the explicit order list";
const std::string kActions =
    "semanticActions:\n  - {id: a, action: vorn:trim, target: in.x}\n  - {id: b, action: vorn:trim, target: in.x}\n"
    "  - {id: c, action: vorn:trim, target: in.y}\n  - {id: d, action: vorn:trim, target: in.x}\n";

struct Case {
  const char* name;
  std::string body;
  std::string expected;
};

class SemanticsChecks : public ::testing::TestWithParam<Case> {};

TEST_P(SemanticsChecks, ReportExactly) { EXPECT_EQ(run(GetParam().body), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Rows, SemanticsChecks,
    ::testing::Values(
        Case{"nothing_to_check", "", "[]"},
        Case{"overlap_once_per_target", kActions,
             "[" + error("semantics.ordering",
                         "multiple semantic actions target 'in.x' without an explicit ordering declaration",
                         kOverlap) +
                 "]"},
        Case{"unordered_counts_as_declared", kActions + "semantics: {ordering: {mode: unordered}}\n", "[]"},
        Case{"explicit_order_rows", kActions + "semantics: {ordering: {mode: explicit, order: [z, a, z, a, c]}}\n",
             "[" + error("semantics.ordering.order[0]", "semantics.ordering references unknown semantic action 'z'", kUnknown) +
                 "," + error("semantics.ordering.order[2]", "semantics.ordering references unknown semantic action 'z'", kUnknown) +
                 "," + error("semantics.ordering.order[3]", "semantics.ordering contains duplicate action id 'a'", kDuplicate) +
                 "," + error("semantics.ordering", "semantics.ordering is missing semantic action 'b'", kMissing) +
                 "," + error("semantics.ordering", "semantics.ordering is missing semantic action 'd'", kMissing) + "]"},
        Case{"empty_explicit_order", "semanticActions: [{id: a, action: x, target: t}, {id: b, action: x, target: u}]\n"
                                     "semantics: {ordering: [explicit, []]}\n",
             "[" + error("semantics.ordering", "semantics.ordering is missing semantic action 'a'", kMissing) + "," +
                 error("semantics.ordering", "semantics.ordering is missing semantic action 'b'", kMissing) + "]"},
        Case{"impure_without_effects", "semantics: {pure: false}\n",
             "[" + error("semantics.sideEffects",
                         "transformation declares pure: false but does not declare any side effects",
                         "Declare sideEffects when pure is false") +
                 "]"},
        Case{"pure_with_effects", "semantics: {pure: true, sideEffects: [{id: s, kind: io}]}\n",
             "[" + error("semantics.sideEffects", "transformation declares pure: true but also declares side effects",
                         "Remove sideEffects or set pure: false") +
                 "]"},
        Case{"purity_unstated", "semantics: {sideEffects: [{id: s, kind: io}]}\n", "[]"},
        Case{"deterministic_builtin_functions", "functions: [{id: f, function: vorn:lower}]\nsemantics: {deterministic: true}\n",
             "[]"},
        Case{"lineage_coverage", "semanticActions: [{id: a, action: x, target: in.x}, {id: b, action: x, target: out.y},"
                                 " {id: c, action: x, target: in}]\nlineage: {mappings: [{output: out}]}\n",
             R"([{"objectRef":"semanticActions.a","kind":"lineageCoverage","message":"semantic action targets 'in', but lineage mappings do not mention that output"}])"},
        Case{"no_lineage_no_finding", "semanticActions: [{id: a, action: x, target: in.x}]\n", "[]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SemanticsDeterminism, NonDeterministicRegistryFunction) {
  // Definitions as YAML double-quoted texts, which can hold any character.
  const std::string kStatesFalse = R"({\"kind\":\"function\",\"returnType\":\"datetime\",\"deterministic\":false})";
  auto entry = [](const std::string& id, const std::string& definition) {
    return "  " + id + ":\n    name: F\n    category: function\n    version: '1'\n    status: draft\n"
           "    definition: \"" + definition + "\"\n";
  };
  auto merged = registry::load::load_bytes(
      "id: r\nversion: '1'\ngoverningSpecification: x\npublicationStatus: draft\nentries:\n" +
          entry("vorn:now", kStatesFalse) + entry("vorn:broken", "{not json") +
          entry("vorn:padded", R"(\u00a0)" + kStatesFalse + R"(\u3000)") + entry("vorn:cut", kStatesFalse + R"(\0x)"),
      false);
  ASSERT_TRUE(merged.ok());
  model::registry::RegistryDocument registry = registry::default_registry();
  registry.merge(merged.value());
  // Padded with White_Space the definition still reads; cut by a NUL it does not.
  const std::string body = "functions: [{id: f, function: vorn:now}, {id: g, function: vorn:broken},"
                           " {id: h, function: vorn:padded}, {id: i, function: vorn:cut}]\n";
  auto non_deterministic = [](const std::string& id, const std::string& function) {
    return error("functions." + id + ".function",
                 "contract declares deterministic: true but references non-deterministic function '" + function + "'",
                 "Remove the non-deterministic function or set semantics.deterministic: false",
                 "vorn:non-deterministic-semantics");
  };
  EXPECT_EQ(run(body + "semantics: {deterministic: true}\n", registry),
            "[" + non_deterministic("f", "vorn:now") + "," + non_deterministic("h", "vorn:padded") + "]");
  EXPECT_EQ(run(body + "semantics: {deterministic: false}\n", registry), "[]");
}

TEST(SemanticsScaling, TenThousandActionsAndOrderEntries) {
  std::string body = "semanticActions:\n";
  std::string order;
  for (int i = 0; i < 10000; ++i) {
    body += "  - {id: a" + std::to_string(i) + ", action: x, target: in.f" + std::to_string(i) + "}\n";
    order += (i ? ", a" : "a") + std::to_string(i);
  }
  body += "semantics: {ordering: {mode: explicit, order: [" + order + "]}}\n";
  EXPECT_EQ(run(body), "[]");
}

}  // namespace
}  // namespace vorn::analysis::semantics
