#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/expr/constants.h"
#include "analysis/expr/eval/evaluate.h"
#include "analysis/expr/format.h"
#include "analysis/expr/parse/parser.h"
#include "analysis/expr/rewrite.h"
#include "analysis/expr/simplify.h"

namespace vorn::analysis::expr {
namespace {

using ast::Expr;
using ast::LiteralValue;

Expr parsed(std::string_view text) {
  auto r = parse::parse_expression(text);
  EXPECT_TRUE(r.ok()) << text.substr(0, 80) << ": " << (r.ok() ? "" : r.error().message);
  return r.ok() ? std::move(r).value() : Expr::field_ref("<error>", {});
}

// Kind and canonical text, so that 2 and 2.0, 0 and -0, NaN all stay apart.
std::string describe(const std::optional<LiteralValue>& v) {
  if (!v) return "none";
  static const char* kinds[] = {"bool", "str", "int", "dec"};
  return std::string(kinds[static_cast<int>(v->kind())]) + ":" + format::format_literal(*v);
}

std::string evaluated(std::string_view text) { return describe(eval::evaluate(parsed(text))); }

// Larger than any double: reads as infinity.
const std::string kHuge = std::string(400, '9') + ".0";
const std::string kNaN = "(" + kHuge + " - " + kHuge + ")";

TEST(ExprEval, TellsConstantTreesApart) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"1 + 2", true},       {"-(1)", true},    {"1 / 0", true},         {"'a' - 'b'", true},
      {"!!true", true},      {"x", false},      {"f()", false},          {"1 + x", false},
      {"-(1 * f(2))", false}, {"(1 + 2) * (3 - y)", false},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(constants::is_constant(parsed(text)), want) << text;
}

TEST(ExprEval, FoldsConstantTrees) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      // Checked 64-bit integer arithmetic.
      {"9223372036854775807 + 1", "none"},
      {"-9223372036854775807 - 2", "none"},
      {"4611686018427387904 * 2", "none"},
      {"-9223372036854775807 - 1", "int:-9223372036854775808"},
      {"(-9223372036854775807 - 1) / -1", "none"},
      {"(-9223372036854775807 - 1) * -1", "none"},
      {"-(-9223372036854775807 - 1)", "none"},
      {"(-9223372036854775807 - 1) / 1", "int:-9223372036854775808"},
      {"3037000500 * 3037000500", "none"},
      {"2 * 3 + 4 * 5", "int:26"},
      {"7 / 2", "int:3"},
      {"-7 / 2", "int:-3"},
      {"7 / -2", "int:-3"},
      {"0 / 5", "int:0"},
      {"1 / 0", "none"},
      // Doubles, and integers meeting doubles.
      {"7.0 / 2", "dec:3.5"},
      {"7 / 2.0", "dec:3.5"},
      {"1 / 0.0", "none"},
      {"1.0 / -0.0", "none"},
      {"1.0 / 0", "none"},
      {"1 + 0.5", "dec:1.5"},
      {"1 + 1.0", "dec:2"},
      {"1.5 - 2", "dec:-0.5"},
      {"9007199254740993 + 0.0", "dec:9007199254740992"},
      {"-(0.0)", "dec:-0"},
      {"-0.0 + 0", "dec:0"},
      {kHuge, "dec:inf"},
      {"-" + kHuge, "dec:-inf"},
      {kHuge + " * 0", "dec:NaN"},
      {kNaN + " + 1", "dec:NaN"},
      {"1 / " + kHuge, "dec:0"},
      // Strings.
      {"'a' + 'b'", "str:\"ab\""},
      {"'a' + 1", "none"},
      {"'a' - 'b'", "none"},
      {"'a' * 2", "none"},
      {"true + 1", "none"},
      // Equality across kinds, ordering within one.
      {"1 == 1.0", "bool:false"},
      {"1 != 1.0", "bool:true"},
      {"'a' == 1", "bool:false"},
      {"true != 'true'", "bool:true"},
      {"0.0 == -0.0", "bool:true"},
      {"'ab' == 'ab'", "bool:true"},
      {kNaN + " == " + kNaN, "bool:false"},
      {kNaN + " != " + kNaN, "bool:true"},
      {kNaN + " < 1.0", "bool:false"},
      {kNaN + " > 1.0", "bool:false"},
      {kNaN + " <= 1.0", "bool:true"},
      {kNaN + " >= 1.0", "bool:true"},
      {"'abc' < 'abd'", "bool:true"},
      {"'ab' < 'abc'", "bool:true"},
      {"'' < 'a'", "bool:true"},
      {"'\xC3\xA9' > 'z'", "bool:true"},  // bytes compare unsigned
      {"false < true", "bool:true"},
      {"true <= true", "bool:true"},
      {"3 > 2", "bool:true"},
      {"-3 >= 2", "bool:false"},
      {"2.5 >= 2.5", "bool:true"},
      {"1 < 1.5", "none"},
      {"'a' < 1", "none"},
      // Logic never short-circuits.
      {"true && false", "bool:false"},
      {"false || true", "bool:true"},
      {"true || x", "none"},
      {"false && x", "none"},
      {"1 && true", "none"},
      {"!false", "bool:true"},
      {"-true", "none"},
      {"!1", "none"},
      {"x", "none"},
      {"f(1)", "none"},
      {"1 + f(1)", "none"},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(evaluated(text), want) << text.substr(0, 60);
}

TEST(ExprEval, FoldsTheStandardStringFunctions) {
  using V = LiteralValue;
  struct Case {
    std::string name;
    std::vector<LiteralValue> args;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"vorn:upper", {V::string("stra\xC3\x9F" "e")}, "str:\"STRASSE\""},
      {"vorn:lower", {V::string("\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3")}, "str:\"\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82\""},
      {"vorn:lower", {V::string("\xCE\xA3\xCE\x91")}, "str:\"\xCF\x83\xCE\xB1\""},
      {"vorn:lower", {V::string("ABC"), V::integer(1)}, "str:\"abc\""},
      {"vorn:lower", {}, "none"},
      {"vorn:upper", {V::integer(1), V::string("a")}, "none"},
      {"vorn:length", {V::string("e\xCC\x81" "\xC3\xA9")}, "int:3"},
      {"vorn:length", {V::string("\xC3\xA9\xC3\xA8")}, "int:2"},
      {"vorn:length", {V::string("\xF0\x9D\x84\x9E")}, "int:1"},
      {"vorn:length", {V::string("")}, "int:0"},
      {"vorn:length", {V::boolean(true)}, "none"},
      {"vorn:concat", {}, "str:\"\""},
      {"vorn:concat", {V::string("a"), V::string("b"), V::string("c")}, "str:\"abc\""},
      {"vorn:concat", {V::string("a"), V::integer(1)}, "none"},
      {"vorn:substr", {V::string("abc"), V::integer(1)}, "none"},
      {"VORN:LOWER", {V::string("A")}, "none"},
      {"lower", {V::string("A")}, "none"},
  };
  for (const auto& c : cases) EXPECT_EQ(describe(eval::evaluate_registry_call(c.name, c.args)), c.want) << c.name;
}

TEST(ExprEval, NormalizesExpressionBodies) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1.5 + 0.5", "2"},
      {"1 + 2 * 3", "7"},
      {"'a' + 'b'", "\"ab\""},
      {"0.1 + 0.2", "0.30000000000000004"},
      {"2.50", "2.5"},
      {"  a  +  b * c ", "a + (b * c)"},
      {"x + 0", "x"},
      {"true && x", "x"},
      {"false && x", "false"},
      {"x * 0.0", "0"},
      {"1 / 0", "1 / 0"},
      {"f(1 + 2)", "f(1 + 2)"},
      {"-(-9223372036854775807 - 1)", "-(-9223372036854775807 - 1)"},
      {"  1 +  ", "1 +"},
      {"\xC2\xA0" "1 + )\xE3\x80\x80", "1 + )"},
      {"x = 1", "x = 1"},
      {"", ""},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(rewrite::normalize_expression_body(text), want) << text;
}

// Deep input: every walk must finish without exhausting the call stack.
// Optimised builds check a million levels; unoptimised ones, where the same
// walks run many times slower, check 100,000, which still overflows a default
// 8 MiB stack in any walk that recurses per level.
#ifdef __OPTIMIZE__
constexpr std::size_t kDeep = 1'000'000;
#else
constexpr std::size_t kDeep = 100'000;
#endif

std::string repeat(std::string_view piece, std::size_t n) {
  std::string out;
  out.reserve(piece.size() * n);
  for (std::size_t i = 0; i < n; ++i) out += piece;
  return out;
}

TEST(ExprDepth, NestedParenthesesAndPrefixOperators) {
  // Each parenthesis level holds one negation: a tree as deep as the nesting.
  std::string text = repeat("-(", kDeep) + "1" + repeat(")", kDeep);
  Expr tree = parsed(text);
  EXPECT_TRUE(constants::is_constant(tree));
  EXPECT_EQ(describe(eval::evaluate(tree)), kDeep % 2 ? "int:-1" : "int:1");
  EXPECT_EQ(format::format_expr(tree, false), repeat("-", kDeep) + "1");
  EXPECT_EQ(format::format_expr(rewrite::simplify_expression(tree), false), kDeep % 2 ? "-1" : "1");
  EXPECT_EQ(tree.as<Expr::Unary>()->operand->span, (ast::Span{2, 2 * kDeep + 1}));

  EXPECT_EQ(rewrite::normalize_expression_body(repeat("!", kDeep + 1) + "x"), "!x");
  EXPECT_EQ(rewrite::normalize_expression_body(repeat("(", kDeep) + "x" + repeat(")", kDeep)), "x");
  auto unclosed = parse::parse_expression(repeat("(", kDeep));
  ASSERT_FALSE(unclosed.ok());
  EXPECT_EQ(unclosed.error().span, (ast::Span{kDeep, kDeep}));
}

TEST(ExprDepth, LongLeftAssociativeChains) {
  Expr tree = parsed("'a'" + repeat(" + 'a'", kDeep));
  EXPECT_TRUE(constants::is_constant(tree));
  // Concatenation reuses the left text instead of copying it per step.
  auto text = eval::evaluate(tree);
  ASSERT_TRUE(text && text->is_string());
  EXPECT_EQ(text->as_string(), std::string(kDeep + 1, 'a'));

  std::string formatted = format::format_expr(rewrite::simplify_expression(tree), false);
  EXPECT_EQ(formatted.size(), 3 * (kDeep + 1) + 3 * kDeep + 2 * (kDeep - 1));
  EXPECT_EQ(formatted.substr(0, 4), "((((");
  EXPECT_EQ(formatted.substr(formatted.size() - 13), " + \"a\") + \"a\"");
}

TEST(ExprDepth, NestedCallsCopyAndDestroy) {
  std::string calls = repeat("f(", kDeep) + repeat(")", kDeep);
  Expr tree = parsed(calls);
  Expr copy = tree;
  EXPECT_EQ(format::format_expr(rewrite::simplify_expression(copy), false), calls);
  EXPECT_FALSE(constants::is_constant(copy));
  EXPECT_EQ(describe(eval::evaluate(copy)), "none");

}

}  // namespace
}  // namespace vorn::analysis::expr
