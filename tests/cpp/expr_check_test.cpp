#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "analysis/expr/check.h"
#include "analysis/expr/field_refs.h"
#include "analysis/expr/format.h"
#include "analysis/expr/infer/type_render.h"
#include "analysis/expr/parse/parser.h"
#include "analysis/finding.h"
#include "registry/default_registry.h"
#include "support/json_writer.h"
#include "validation_test_support.h"

namespace vorn::analysis::expr {
namespace {

using validation_test::Expected;
using validation_test::json_of;

const model::TransformationContract& contract() {
  static const model::TransformationContract c = validation_test::contract_of(
      std::string(validation_test::kHeader) +
      "inputs:\n"
      "  - id: a\n"
      "    schema:\n"
      "      fields:\n"
      "        - {name: s, type: string, nullable: false}\n"
      "        - {name: ns, type: string, nullable: true}\n"
      "        - {name: n, type: integer, nullable: false}\n"
      "functions:\n"
      "  - {id: f, function: g, type: integer, nullable: true}\n");
  return c;
}

std::string findings_json(const std::vector<AnalysisFinding>& findings) {
  JsonWriter w;
  w.begin_array();
  for (const AnalysisFinding& f : findings) f.serialize(w);
  w.end_array();
  return w.take();
}

// Every part of an analysis in one line, so that one comparison covers all.
std::string describe(const ExpressionAnalysis& a) {
  return "diagnostics=" + json_of(a.diagnostics) + " findings=" + findings_json(a.findings) +
         " expr=" + (a.expr ? format::format_expr(*a.expr, false) : "-") +
         " type=" + (a.logical_type ? types::format_logical_type(*a.logical_type) : "-") +
         " nullable=" + (a.nullable ? (*a.nullable ? "true" : "false") : "-");
}

std::string checked(std::optional<std::string> text,
                    const model::registry::RegistryDocument& registry = registry::default_registry()) {
  model::Expression declaration;
  declaration.id = "e1";
  declaration.expr = std::move(text);
  return describe(check_expression(contract(), declaration, registry));
}

const char* kNone = "diagnostics=[] findings=[]";
const std::string kConstant =
    R"([{"objectRef":"expressions.e1","kind":"constantExpression","message":"expression is constant and may be evaluated during planning"}])";
const char* kTypeFix = "Fix field references, operators, or function calls in the expression";

std::string type_error(const std::string& code, const std::string& category, const std::string& message) {
  return json_of(std::vector<Expected>{{code, "analysis", category, message, "expressions.e1", kTypeFix}});
}

TEST(ExprCheck, AnalysesOneDeclaration) {
  const std::vector<std::pair<std::optional<std::string>, std::string>> cases = {
      {std::nullopt, std::string(kNone) + " expr=- type=- nullable=-"},
      {"", std::string(kNone) + " expr=- type=- nullable=-"},
      {" \t\n\xC2\xA0\xE3\x80\x80", std::string(kNone) + " expr=- type=- nullable=-"},
      {"1 + 2", "diagnostics=[] findings=" + kConstant + " expr=1 + 2 type=integer nullable=false"},
      {" -(2.5) ", "diagnostics=[] findings=" + kConstant + " expr=-2.5 type=decimal nullable=false"},
      {"a.s + 'x'", "diagnostics=[] findings=[] expr=a.s + \"x\" type=string nullable=false"},
      {"vorn:upper(a.ns)", "diagnostics=[] findings=[] expr=vorn:upper(a.ns) type=string nullable=true"},
      {"f()", "diagnostics=[] findings=[] expr=f() type=integer nullable=true"},
      // A constant with a type error keeps both, the finding first.
      {"true + 1",
       "diagnostics=" + type_error("vorn:invalid-type", "type", "operator requires numeric operands, found 'boolean' and 'integer'") +
           " findings=" + kConstant + " expr=true + 1 type=- nullable=-"},
      // A type error keeps the parsed tree.
      {"a.n * nope",
       "diagnostics=" + type_error("vorn:unresolved-reference", "reference", "unresolved field reference 'nope'") +
           " findings=[] expr=a.n * nope type=- nullable=-"},
      {"vorn:lower(a.n)",
       "diagnostics=" +
           type_error("vorn:invalid-type", "type", "argument 1 to function 'vorn:lower' has type 'integer', expected 'string'") +
           " findings=[] expr=vorn:lower(a.n) type=- nullable=-"},
      // A parse error leaves everything else absent.
      {"1 +",
       "diagnostics=" +
           json_of(std::vector<Expected>{{"vorn:invalid-expression", "analysis", "syntax",
                                          "expected a literal, field reference, function call, or parenthesized expression",
                                          "expressions.e1", "Fix expression syntax (operators, parentheses, or string literals)"}}) +
           " findings=[] expr=- type=- nullable=-"},
      {"a = 1",
       "diagnostics=" +
           json_of(std::vector<Expected>{{"vorn:invalid-expression", "analysis", "syntax", "unexpected '='; did you mean '=='?",
                                          "expressions.e1", "Fix expression syntax (operators, parentheses, or string literals)"}}) +
           " findings=[] expr=- type=- nullable=-"},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(checked(text), want) << text.value_or("<absent>");
}

TEST(ExprCheck, UsesTheRegistryItIsGiven) {
  model::registry::RegistryDocument empty;
  EXPECT_EQ(checked("vorn:upper('x')", empty),
            "diagnostics=" +
                type_error("vorn:unknown-registry-entry", "reference", "unresolved registry function 'vorn:upper'") +
                " findings=[] expr=vorn:upper(\"x\") type=- nullable=-");
}

TEST(ExprCheck, SurvivesDeepExpressions) {
#ifdef __OPTIMIZE__
  constexpr std::size_t kDeep = 1'000'000;
#else
  constexpr std::size_t kDeep = 100'000;
#endif
  std::string text;
  for (std::size_t i = 0; i < kDeep; ++i) text += "-(";
  text += "a.n";
  text.append(kDeep, ')');
  model::Expression declaration{"deep", text, std::nullopt, std::nullopt};
  ExpressionAnalysis analysis = check_expression(contract(), declaration, registry::default_registry());
  EXPECT_TRUE(analysis.diagnostics.empty());
  EXPECT_TRUE(analysis.findings.empty());
  ASSERT_TRUE(analysis.logical_type);
  EXPECT_EQ(types::format_logical_type(*analysis.logical_type), "integer");
  ASSERT_TRUE(analysis.expr);
  EXPECT_EQ(collect_field_refs(*analysis.expr), std::vector<std::string>{"a.n"});
}

std::vector<std::string> refs_of(const std::string& text) {
  auto tree = parse::parse_expression(text);
  EXPECT_TRUE(tree.ok()) << text;
  return tree.ok() ? collect_field_refs(tree.value()) : std::vector<std::string>{};
}

TEST(ExprCheckFieldRefs, ListsEachReferenceOnceInByteOrder) {
  using Names = std::vector<std::string>;
  const std::vector<std::pair<std::string, Names>> cases = {
      {"1 + 2", {}},
      {"a.x + b.y * a.x", {"a.x", "b.y"}},
      {"f(b, a, b)", {"a", "b"}},
      {"f()", {}},
      {"vorn:lower(z) + -y + !x", {"x", "y", "z"}},
      {"g(h(k), -(m.n))", {"k", "m.n"}},
      {"a + B + _ + a.b + a0", {"B", "_", "a", "a.b", "a0"}},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(refs_of(text), want) << text;
}

TEST(ExprCheckFinding, WritesAttributesOnlyWhenPresent) {
  AnalysisFinding plain{"expressions.e", "constantExpression", "m", {}};
  EXPECT_EQ(plain.to_json(), R"({"objectRef":"expressions.e","kind":"constantExpression","message":"m"})");

  AnalysisFinding with{"semanticActions.s", "custom", "quote \" here", {}};
  with.attributes["b"] = 1.5;
  with.attributes["Z"] = nlohmann::json::array({1, "x"});
  with.attributes["a"] = nlohmann::json::object({{"y", 1}, {"x", nullptr}});
  EXPECT_EQ(with.to_json(),
            R"({"objectRef":"semanticActions.s","kind":"custom","message":"quote \" here",)"
            R"("attributes":{"Z":[1,"x"],"a":{"x":null,"y":1},"b":1.5}})");

  AnalysisFinding same = with;
  EXPECT_EQ(same, with);
  same.attributes["b"] = 1;
  with.attributes["b"] = 1.0;
  EXPECT_FALSE(same == with);
}

}  // namespace
}  // namespace vorn::analysis::expr
