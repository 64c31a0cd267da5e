#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "analysis/expr/format.h"
#include "analysis/expr/parse/parser.h"
#include "analysis/expr/simplify.h"

namespace vorn::analysis::expr {
namespace {

using ast::Expr;
using ast::LiteralValue;
using ast::Span;

Expr parsed(std::string_view text) {
  auto r = parse::parse_expression(text);
  EXPECT_TRUE(r.ok()) << text << ": " << (r.ok() ? "" : r.error().message);
  return r.ok() ? std::move(r).value() : Expr::field_ref("<error>", {});
}

std::string canonical(std::string_view text) { return format::format_expr(parsed(text), false); }

std::string simplified(std::string_view text) {
  return format::format_expr(rewrite::simplify_expression(parsed(text)), false);
}

TEST(ExprFormat, WritesOneCanonicalText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a + b * c", "a + (b * c)"},
      {"(a + b) + c", "(a + b) + c"},
      {"a+b+c+d", "((a + b) + c) + d"},
      {"-(a + b)", "-(a + b)"},
      {"-(-a)", "--a"},
      {"- - a", "--a"},
      {"!f(x)", "!f(x)"},
      {"!(a == b)", "!(a == b)"},
      {"-f(a+b)", "-f(a + b)"},
      {"f(a+b,'x')", "f(a + b, \"x\")"},
      {"f()", "f()"},
      {"f ( g ( a ) , b )", "f(g(a), b)"},
      {"-a * b", "-a * b"},
      {"a<=b||!c", "(a <= b) || !c"},
      {"TRUE || False", "true || false"},
      {"1.50 + 2.0 + 007", "(1.5 + 2) + 7"},
      {"-(1)", "-1"},
      {"in.amount:x", "in.amount:x"},
      {"'a\"b\\\\c'", "\"a\\\"b\\\\c\""},
  };
  for (const auto& [text, want] : cases) {
    EXPECT_EQ(canonical(text), want) << text;
    // The canonical text parses back to a tree with the same canonical text.
    EXPECT_EQ(canonical(want), want) << want;
  }
}

TEST(ExprFormat, NestedFlagWrapsOnlyBinaryTrees) {
  EXPECT_EQ(format::format_expr(parsed("a + b"), true), "(a + b)");
  EXPECT_EQ(format::format_expr(parsed("-(a + b)"), true), "-(a + b)");
  EXPECT_EQ(format::format_expr(parsed("f(a + b)"), true), "f(a + b)");
  EXPECT_EQ(format::format_expr(parsed("a"), true), "a");
}

TEST(ExprFormat, WritesLiterals) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<LiteralValue, std::string>> cases = {
      {LiteralValue::boolean(true), "true"},
      {LiteralValue::boolean(false), "false"},
      {LiteralValue::integer(0), "0"},
      {LiteralValue::integer(-42), "-42"},
      {LiteralValue::integer(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808"},
      {LiteralValue::integer(std::numeric_limits<std::int64_t>::max()), "9223372036854775807"},
      {LiteralValue::decimal(2.0), "2"},
      {LiteralValue::decimal(0.5), "0.5"},
      {LiteralValue::decimal(-1.25), "-1.25"},
      {LiteralValue::decimal(0.1 + 0.2), "0.30000000000000004"},
      {LiteralValue::decimal(1e21), "1000000000000000000000"},
      {LiteralValue::decimal(1e-7), "0.0000001"},
      {LiteralValue::decimal(1e300), "1" + std::string(300, '0')},
      {LiteralValue::decimal(5e-324), "0." + std::string(323, '0') + "5"},
      {LiteralValue::decimal(-std::numeric_limits<double>::max()), "-17976931348623157" + std::string(292, '0')},
      {LiteralValue::decimal(0.0), "0"},
      {LiteralValue::decimal(-0.0), "-0"},
      {LiteralValue::decimal(std::nan("")), "NaN"},
      {LiteralValue::decimal(-std::nan("")), "NaN"},
      {LiteralValue::decimal(inf), "inf"},
      {LiteralValue::decimal(-inf), "-inf"},
      {LiteralValue::string(""), "\"\""},
      {LiteralValue::string("a\\nb"), "\"a\\\\nb\""},
      {LiteralValue::string("a\nb"), "\"a\\nb\""},
      {LiteralValue::string("\t\r\"'"), "\"\\t\\r\\\"'\""},
      {LiteralValue::string("\x01\xC3\xA9\xE2\x80\xA8"), "\"\x01\xC3\xA9\xE2\x80\xA8\""},
  };
  for (const auto& [value, want] : cases) EXPECT_EQ(format::format_literal(value), want) << want;
}

TEST(ExprFormat, DecimalsReadBackExactlyWithoutExponent) {
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (int i = 0; i < 5000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    double v = std::fabs(std::bit_cast<double>(state));
    if (!std::isfinite(v)) continue;
    std::string text = format::format_literal(LiteralValue::decimal(v));
    ASSERT_EQ(text.find_first_not_of("0123456789."), std::string::npos) << text;
    std::string as_decimal = text.find('.') == std::string::npos ? text + ".0" : text;
    auto back = parse::parse_expression(as_decimal);
    ASSERT_TRUE(back.ok()) << as_decimal;
    double read = back.value().as<Expr::Literal>()->value.as_decimal();
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(v)) << text;
  }
}

TEST(ExprSimplify, AppliesTheFirstMatchingRule) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"(x + 0) * 1", "x"},
      {"x * 0", "0"},
      {"x * 0.0", "0"},
      {"0 * x", "0"},
      {"x * -0.0", "x * -0"},  // -0.0 is a negation, not a literal
      {"0 - x", "0 - x"},
      {"x - 0.0", "x"},
      {"0 + x", "x"},
      {"1 * x", "x"},
      {"x / 1", "x"},
      {"x / 1.0", "x"},
      {"1 / x", "1 / x"},
      {"0 / x", "0 / x"},
      {"x + '0'", "x + \"0\""},
      {"x * true", "x * true"},
      {"f(x + 0)", "f(x + 0)"},
      {"f(x + 0) + 0", "f(x + 0)"},
      {"---x", "-x"},
      {"----x", "x"},
      {"!!!b", "!b"},
      {"!(!(b && true))", "b"},
      {"-(-(x) + 0)", "x"},
      {"!-!-x", "!-!-x"},
      {"true && x", "x"},
      {"x && true", "x"},
      {"false && x", "false"},
      {"x && false", "false"},
      {"true || x", "true"},
      {"x || true", "true"},
      {"false || x", "x"},
      {"x || false", "x"},
      {"(x + 0) == (y * 1)", "x == y"},
      {"x == 0", "x == 0"},
      {"0 * x * y", "0"},
      {"x * (y * 0)", "0"},
      {"(a || false) && (b && true)", "a && b"},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(simplified(text), want) << text;
}

TEST(ExprSimplify, KeepsOperandSpansAndGivesNewNodesTheirOwn) {
  Expr product = rewrite::simplify_expression(parsed("x * 0.0"));
  ASSERT_NE(product.as<Expr::Literal>(), nullptr);
  EXPECT_TRUE(product.as<Expr::Literal>()->value.is_decimal());
  EXPECT_EQ(product.span, (Span{0, 7}));

  EXPECT_EQ(rewrite::simplify_expression(parsed("(x + 0) * 1")).span, (Span{1, 2}));
  EXPECT_EQ(rewrite::simplify_expression(parsed("---x")).span, (Span{0, 4}));
  EXPECT_EQ(rewrite::simplify_expression(parsed("-(--x)")).span, (Span{0, 5}));

  Expr sum = rewrite::simplify_expression(parsed("(a * 1) + (b)"));
  EXPECT_EQ(sum.span, (Span{1, 12}));
  EXPECT_EQ(sum.as<Expr::Binary>()->left->span, (Span{1, 2}));

  // The input tree is left as it was.
  Expr input = parsed("x + 0");
  Expr output = rewrite::simplify_expression(input);
  EXPECT_EQ(format::format_expr(input, false), "x + 0");
  EXPECT_EQ(format::format_expr(output, false), "x");
}

TEST(ExprTree, CopiesDeeplyAndAssignsFromItsOwnDescendants) {
  Expr tree = parsed("f(-a, (b + 1) * c)");
  Expr copy = tree;
  tree = Expr::literal(LiteralValue::integer(0), {});
  EXPECT_EQ(format::format_expr(copy, false), "f(-a, (b + 1) * c)");
  EXPECT_EQ(copy.as<Expr::Call>()->args[1]->span, (Span{7, 17}));  // parentheses are not in spans

  copy = *copy.as<Expr::Call>()->args[1];  // copy-assign from a descendant
  EXPECT_EQ(format::format_expr(copy, false), "(b + 1) * c");
  copy = std::move(*copy.as<Expr::Binary>()->left);  // move-assign from a descendant
  EXPECT_EQ(format::format_expr(copy, false), "b + 1");
  EXPECT_EQ(copy.span, (Span{7, 12}));
}

}  // namespace
}  // namespace vorn::analysis::expr
