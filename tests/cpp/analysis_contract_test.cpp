// The contract analysis report: expression checks in declaration order, then
// the semantics checks.
#include <gtest/gtest.h>

#include <string>

#include "analysis/contract.h"
#include "parser/parse.h"

namespace vorn::analysis::contract {
namespace {

std::string analyse(const std::string& body) {
  auto parsed = parser::parse("vornVersion: 1.0.0\nid: c\nname: n\nversion: 1.0.0\n" + body,
                              parser::DocumentFormat::Yaml);
  if (!parsed.contract) return "parse: " + parsed.report.diagnostics.at(0).message;
  return check_contract(*parsed.contract).to_json();
}

TEST(AnalysisReport, EmptyContractGivesEmptyLists) {
  EXPECT_EQ(analyse(""), R"({"diagnostics":[],"findings":[]})");
}

TEST(AnalysisReport, ConstantExpressionFindingHasNoAttributes) {
  EXPECT_EQ(analyse("expressions: [{id: e, expr: '1 + 2'}]\n"),
            R"({"diagnostics":[],"findings":[{"objectRef":"expressions.e","kind":"constantExpression",)"
            R"("message":"expression is constant and may be evaluated during planning"}]})");
}

TEST(AnalysisReport, ExpressionDiagnosticsComeBeforeSemantics) {
  std::string report = analyse(
      "expressions: [{id: a, expr: '1 +'}, {id: b, expr: 'nowhere.x'}]\n"
      "semantics: {pure: false}\n");
  auto first = report.find("\"objectRef\":\"expressions.a\"");
  auto second = report.find("\"objectRef\":\"expressions.b\"");
  auto third = report.find("\"objectRef\":\"semantics.sideEffects\"");
  ASSERT_NE(first, std::string::npos) << report;
  ASSERT_NE(second, std::string::npos) << report;
  ASSERT_NE(third, std::string::npos) << report;
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
}

TEST(AnalysisReport, ManyExpressionsOverManyFieldsStayLinear) {
  // 5,000 expressions over 5,000 fields: a per-expression index rebuild
  // would make this 25 million insertions.
  std::string body = "inputs:\n  - id: in\n    schema:\n      fields:\n";
  for (int i = 0; i < 5000; ++i) body += "        - {name: f" + std::to_string(i) + ", type: integer, nullable: false}\n";
  body += "expressions:\n";
  for (int i = 0; i < 5000; ++i) body += "  - {id: e" + std::to_string(i) + ", expr: 'in.f" + std::to_string(i) + " + 1'}\n";
  EXPECT_EQ(analyse(body), R"({"diagnostics":[],"findings":[]})");
}

}  // namespace
}  // namespace vorn::analysis::contract
