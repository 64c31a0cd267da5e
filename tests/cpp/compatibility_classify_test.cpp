// Scopes from tokens, and the classification of two documents: level,
// aspects and diagnostics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compatibility/classify.h"
#include "compatibility_test_support.h"

namespace vorn::compatibility::classify {
namespace {

using types::ComparisonScope;

using Parsed = std::variant<ComparisonScope, ComparisonScope::Rejected>;

TEST(ComparisonScope, FromTokens) {
  const ComparisonScope every = ComparisonScope::every_aspect();
  auto only = [](bool ComparisonScope::*a, bool ComparisonScope::*b) {
    ComparisonScope s = ComparisonScope::none();
    s.*a = s.*b = true;
    return s;
  };
  auto rejected = [](std::vector<std::string> tokens) { return ComparisonScope::Rejected{std::move(tokens)}; };
  const std::pair<std::vector<std::string>, Parsed> cases[] = {
      {{}, every},
      {{"all"}, every},
      {{"bogus", "all"}, every},
      {{"all", "bogus"}, every},
      {{"types", "bogus", "Lineage", "bogus"}, rejected({"bogus", "Lineage", "bogus"})},
      {{"", " types", "types"}, rejected({"", " types"})},
      {{"metadata", "metadata"}, only(&ComparisonScope::metadata, &ComparisonScope::metadata)},
      {{"extensions", "interfaces"}, only(&ComparisonScope::interfaces, &ComparisonScope::extensions)},
  };
  for (const auto& [tokens, expected] : cases) EXPECT_EQ(ComparisonScope::from_tokens(tokens), expected);
}

using compatibility_test::contract_of;

struct ClassifyCase {
  const char* name;
  std::vector<std::string> scope;
  std::string source;
  std::string target;
  std::string level;
  std::string aspects;  // the aspects that differ, "name: message"
  std::string diagnostics;
};

void PrintTo(const ClassifyCase& c, std::ostream* os) { *os << c.name; }

class Classification : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(Classification, LevelAspectsAndDiagnostics) {
  const ClassifyCase& c = GetParam();
  auto scope = std::get<ComparisonScope>(ComparisonScope::from_tokens(c.scope));
  report::CompatibilityReport report = analyze(contract_of(c.source), contract_of(c.target), scope);
  EXPECT_EQ(types::to_string(report.level), c.level);
  std::string aspects;
  for (const auto& a : report.aspects)
    if (a.compatible != (a.message == a.aspect + " match within scope")) ADD_FAILURE() << a.message;
    else if (!a.compatible) aspects += a.aspect + ": " + a.message + "\n";
  EXPECT_EQ(aspects, c.aspects);
  EXPECT_EQ(validation_test::json_of(report.diagnostics), c.diagnostics);
}

constexpr const char* kSummary =
    R"({"id":"vorn:incompatible-contract","severity":"error","stage":"analysis","category":"compatibility",)"
    R"("message":"contracts are incompatible within the requested scope",)"
    R"("remediation":"Review breaking changes and align interfaces, types, or semantics"})";

std::string warning(const std::string& message, const std::string& ref) {
  return R"({"id":"vorn:conditional-compatibility","severity":"warning","stage":"analysis",)"
         R"("category":"compatibility","message":")" + message + R"(","objectRef":")" + ref + "\"}";
}

std::string error(const std::string& message, const std::string& ref) {
  return R"({"id":"vorn:incompatible-contract","severity":"error","stage":"analysis",)"
         R"("category":"compatibility","message":")" + message + R"(","objectRef":")" + ref + "\"}";
}

const std::string kIn = "inputs: [{id: a, schema: {fields: [{name: f, type: string, nullable: false}]}}]\n";
const std::string kOut = "outputs: [{id: o}]\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, Classification,
    ::testing::Values(
        ClassifyCase{"OnlyInformationalDifferences", {}, "metadata: {governance: {owner: a}}\n",
                     "vornVersion: 1.0.0-draft\nmetadata: {documentation: {description: d}}\n", "identical", "", "[]"},
        ClassifyCase{"OptionalInputAddedIsBackward", {}, "", "inputs: [{id: b, optional: true}]\n",
                     "backwardCompatible", "interfaces: 1 difference(s) in interfaces\n",
                     "[" + warning("input 'b' added in target", "inputs.b") + "]"},
        ClassifyCase{"OutputRemovedIsForward", {}, kOut, "", "forwardCompatible",
                     "interfaces: 1 difference(s) in interfaces\n",
                     "[" + error("output 'o' removed in target", "outputs.o") + "]"},
        ClassifyCase{"RequiredInputRemovedIsIncompatible", {}, kIn, "", "incompatible",
                     "interfaces: 1 difference(s) in interfaces\n",
                     "[" + error("required input 'a' removed in target", "inputs.a") + "," + kSummary + "]"},
        ClassifyCase{"ExtensionKeyAddedIsConditional", {}, "", "acme:k: 1\n", "conditionallyCompatible",
                     "extensions: 1 difference(s) in extensions\n",
                     "[" + warning("extension key 'acme:k' added in target", "acme:k") + "]"},
        ClassifyCase{"ExtensionKeyWithoutANameHasNoObjectRef", {}, "", "'': 1\n", "conditionallyCompatible",
                     "extensions: 1 difference(s) in extensions\n",
                     R"([{"id":"vorn:conditional-compatibility","severity":"warning","stage":"analysis",)"
                     R"("category":"compatibility","message":"extension key '' added in target"}])"},
        ClassifyCase{"ChangedRuleCountsUnderNoAspect", {},
                     "rules: [{id: r, rule: x, target: t, phase: execution}]\n",
                     "rules: [{id: r, rule: y, target: t, phase: execution}]\n", "incompatible", "",
                     "[" + error("rules entry 'r' changed", "rules.r") + "," + kSummary + "]"},
        ClassifyCase{"NullableFieldAddedLeansBackward", {"types"}, kIn,
                     "inputs: [{id: a, schema: {fields: [{name: f, type: string, nullable: false},"
                     " {name: g, type: string, nullable: true}]}}]\n",
                     "backwardCompatible", "types: 1 difference(s) in types\n",
                     "[" + warning("field 'g' added to inputs.a.schema", "inputs.a.schema.fields.g") + "]"},
        ClassifyCase{"NullableFieldRemovedLeansForward", {"types"},
                     "inputs: [{id: a, schema: {fields: [{name: f, type: string, nullable: false},"
                     " {name: g, type: string, nullable: true}]}}]\n",
                     kIn, "forwardCompatible", "types: 1 difference(s) in types\n",
                     "[" + warning("field 'g' removed from inputs.a.schema", "inputs.a.schema.fields.g") + "]"},
        ClassifyCase{"EqualFootprintsLeanBackward", {"types"},
                     "inputs: [{id: a, schema: {fields: [{name: f, type: string, nullable: false},"
                     " {name: g, type: string, nullable: true}]}}]\n",
                     "inputs: [{id: a, schema: {fields: [{name: f, type: string, nullable: false},"
                     " {name: h, type: string, nullable: true}]}}]\n",
                     "backwardCompatible", "types: 2 difference(s) in types\n",
                     "[" + warning("field 'g' removed from inputs.a.schema", "inputs.a.schema.fields.g") + "," +
                         warning("field 'h' added to inputs.a.schema", "inputs.a.schema.fields.h") + "]"},
        ClassifyCase{"BreakingForwardConditionalBack", {}, kOut, "acme:k: 1\n", "conditionallyCompatible",
                     "interfaces: 1 difference(s) in interfaces\nextensions: 1 difference(s) in extensions\n",
                     "[" + error("output 'o' removed in target", "outputs.o") + "," +
                         warning("extension key 'acme:k' added in target", "acme:k") + "]"},
        ClassifyCase{"OutOfScopeDifferencesDoNotCount", {"lineage", "metadata"}, kIn, "", "identical", "", "[]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompatibilityReport, WritesEveryAspectInScopeInOrder) {
  auto contract = contract_of(kIn);
  auto scope = std::get<ComparisonScope>(ComparisonScope::from_tokens({"extensions", "interfaces"}));
  EXPECT_EQ(analyze(contract, contract, scope).to_json(),
            R"({"level":"identical","aspects":[{"aspect":"interfaces","compatible":true,)"
            R"("message":"interfaces match within scope"},{"aspect":"extensions","compatible":true,)"
            R"("message":"extensions match within scope"}],"diagnostics":[]})");
}

}  // namespace
}  // namespace vorn::compatibility::classify
