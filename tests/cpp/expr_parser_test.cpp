#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <limits>
#include <string>
#include <vector>

#include "analysis/expr/format.h"
#include "analysis/expr/parse/lexer.h"
#include "analysis/expr/parse/parser.h"
#include "analysis/expr/walk.h"

namespace vorn::analysis::expr {
namespace {

using ast::Expr;
using ast::Span;
using parse::parse_expression;

// Prefix form with every node's kind and, optionally, its span: a + -b is
// (+ a (- b)), decimals carry a "d" so that 2. and 2 differ.
struct Dumper {
  static constexpr bool kWalksCallArguments = true;
  bool spans;

  std::string at(const Expr& e, std::string s) const {
    return spans ? s + "@" + std::to_string(e.span.start) + "-" + std::to_string(e.span.end) : s;
  }
  std::string leaf(const Expr& e) {
    if (const auto* f = e.as<Expr::FieldRef>()) return at(e, f->name);
    const auto& v = e.as<Expr::Literal>()->value;
    return at(e, format::format_literal(v) + (v.is_decimal() ? "d" : ""));
  }
  std::string unary(const Expr& e, std::string x) {
    return at(e, "(" + std::string(symbol(e.as<Expr::Unary>()->op)) + " " + x + ")");
  }
  std::string binary(const Expr& e, std::string l, std::string r) {
    return at(e, "(" + std::string(symbol(e.as<Expr::Binary>()->op)) + " " + l + " " + r + ")");
  }
  std::string call(const Expr& e, std::vector<std::string> args) {
    std::string out = e.as<Expr::Call>()->name + "[";
    for (std::size_t i = 0; i < args.size(); ++i) out += (i ? " " : "") + args[i];
    return at(e, out + "]");
  }
};

std::string dump(std::string_view text, bool spans = false) {
  auto parsed = parse_expression(text);
  if (!parsed) return "error: " + parsed.error().message;
  Dumper d{spans};
  return ast::fold_post_order<std::string>(parsed.value(), d);
}

struct ErrorCase {
  std::string text;
  std::string message;
  Span span;
};

const std::string kPrimary = "expected a literal, field reference, function call, or parenthesized expression";

TEST(ExprParser, ReportsTheFirstProblemWithItsSpan) {
  const std::vector<ErrorCase> cases = {
      // Grammar problems.
      {"", kPrimary, {0, 0}},
      {" \t\n ", kPrimary, {4, 4}},
      {"(a", "expected ')'", {2, 2}},
      {"f(a b)", "expected ')'", {4, 5}},
      {"f(a", "expected ')'", {3, 3}},
      {"f(", kPrimary, {2, 2}},
      {"f(a,)", kPrimary, {4, 5}},
      {"()", kPrimary, {1, 2}},
      {"a b", "unexpected trailing input", {2, 3}},
      {"(a))", "unexpected trailing input", {3, 4}},
      {"a ! b", "unexpected trailing input", {2, 3}},
      {"1e5", "unexpected trailing input", {1, 3}},
      {"1 + + 2", kPrimary, {4, 5}},
      {"+1", kPrimary, {0, 1}},
      {"1 +", kPrimary, {3, 3}},
      {"-", kPrimary, {1, 1}},
      {"a, b", "unexpected trailing input", {1, 2}},
      // Lexical problems win even when a grammar problem comes first.
      {"1 + #", "unexpected character '#'", {4, 5}},
      {") #", "unexpected character '#'", {2, 3}},
      {"1.5.2", "unexpected character '.'", {3, 4}},
      {"a[0]", "unexpected character '['", {1, 2}},
      {"x \x01", "unexpected character '\x01'", {2, 3}},
      {"a + \xC3\xA9", "unexpected character '\xC3\xA9'", {4, 6}},
      {"\xE2\x82\xAC", "unexpected character '\xE2\x82\xAC'", {0, 3}},
      {"a = b", "unexpected '='; did you mean '=='?", {2, 3}},
      {"a & b", "unexpected '&'; did you mean '&&'?", {2, 3}},
      {"a |", "unexpected '|'; did you mean '||'?", {2, 3}},
      {"x + 'abc", "unterminated string literal", {4, 8}},
      {"x + \"ab\\", "unterminated escape sequence in string literal", {4, 8}},
      {"'it\\'s", "unterminated string literal", {0, 6}},
      {"9223372036854775808", "invalid integer literal", {0, 19}},
      {"-9223372036854775808", "invalid integer literal", {1, 20}},
      {"99999999999999999999999 + x", "invalid integer literal", {0, 23}},
      // Ill-formed UTF-8 is an unexpected character, shown as U+FFFD.
      {"\xFF", "unexpected character '\xEF\xBF\xBD'", {0, 1}},
      {"a \xC3", "unexpected character '\xEF\xBF\xBD'", {2, 3}},
      {"'a\xC3'", "unexpected character '\xEF\xBF\xBD'", {2, 3}},
      {"\xED\xA0\x80", "unexpected character '\xEF\xBF\xBD'", {0, 1}},
      {"'\\\xF0\x9F'", "unexpected character '\xEF\xBF\xBD'", {2, 4}},
  };
  for (const auto& c : cases) {
    auto parsed = parse_expression(c.text);
    ASSERT_FALSE(parsed.ok()) << c.text;
    EXPECT_EQ(parsed.error().message, c.message) << c.text;
    EXPECT_EQ(parsed.error().span, c.span) << c.text << " got " << parsed.error().span.start << "-"
                                           << parsed.error().span.end;
  }
}

TEST(ExprParser, BindsByPrecedenceAndAssociatesLeft) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"!a == b", "(== (! a) b)"},
      {"a || b && c", "(|| a (&& b c))"},
      {"a && b || c", "(|| (&& a b) c)"},
      {"-a * b", "(* (- a) b)"},
      {"1 - -1", "(- 1 (- 1))"},
      {"a < b < c", "(< (< a b) c)"},
      {"a - b - c", "(- (- a b) c)"},
      {"a / b * c", "(* (/ a b) c)"},
      {"a + b * c - d / e", "(- (+ a (* b c)) (/ d e))"},
      {"a == b && c != d || e", "(|| (&& (== a b) (!= c d)) e)"},
      {"a <= b >= c > d", "(> (>= (<= a b) c) d)"},
      {"a + b == c * d", "(== (+ a b) (* c d))"},
      {"--a", "(- (- a))"},
      {"!!a", "(! (! a))"},
      {"!-a", "(! (- a))"},
      {"a--b", "(- a (- b))"},
      {"-(a + b) * c", "(* (- (+ a b)) c)"},
      {"(a || b) && c", "(&& (|| a b) c)"},
      {"a * (b + c)", "(* a (+ b c))"},
      {"f (x)", "f[x]"},
      {"f()", "f[]"},
      {"f(a, g(b, c), -d)", "f[a g[b c] (- d)]"},
      {"f(a || b, c)", "f[(|| a b) c]"},
      {"-f(x) * 2", "(* (- f[x]) 2)"},
      {"a.b:c", "a.b:c"},
      {"in.amount:", "in.amount:"},
      {"_x1", "_x1"},
      {"True && FALSE || true", "(|| (&& true false) true)"},
      {"tRUE", "tRUE"},
      {"trueish", "trueish"},
      {"2.", "2d"},
      {"007 + 1.50", "(+ 7 1.5d)"},
      {"a\xC2\xA0+\xE2\x80\xA8" "b\xE3\x80\x80", "(+ a b)"},
      {"\x0B\x0C" "a\r\n", "a"},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(dump(text), want) << text;
}

TEST(ExprParser, SpansCountBytesAndSkipParentheses) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"(a) + b", "(+ a@1-2 b@6-7)@1-7"},
      {"-(a)", "(- a@2-3)@0-3"},
      {"f (x , y)", "f[x@3-4 y@7-8]@0-9"},
      {"f()", "f[]@0-3"},
      {"'\xC3\xA9' + x", "(+ \"\xC3\xA9\"@0-4 x@7-8)@0-8"},
      {"!a == b", "(== (! a@1-2)@0-2 b@6-7)@0-7"},
      {"((a + b))", "(+ a@2-3 b@6-7)@2-7"},
      {"a*(b)", "(* a@0-1 b@3-4)@0-4"},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(dump(text, true), want) << text;
}

TEST(ExprParser, ReadsLiteralPayloads) {
  struct Case {
    std::string text;
    ast::LiteralValue want;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Case> cases = {
      {R"("a\"b")", ast::LiteralValue::string("a\"b")},
      {R"('a"b')", ast::LiteralValue::string("a\"b")},
      {R"("it's")", ast::LiteralValue::string("it's")},
      {R"('\q\\\'')", ast::LiteralValue::string("q\\'")},
      {R"("\n\t\r")", ast::LiteralValue::string("\n\t\r")},
      {"'\xC3\xA9\\\xC3\xA9'", ast::LiteralValue::string("\xC3\xA9\xC3\xA9")},
      {"''", ast::LiteralValue::string("")},
      {"9223372036854775807", ast::LiteralValue::integer(std::numeric_limits<std::int64_t>::max())},
      {"0000000000000000000000042", ast::LiteralValue::integer(42)},
      {"0.1", ast::LiteralValue::decimal(0.1)},
      {"1.", ast::LiteralValue::decimal(1.0)},
      {std::string(400, '9') + ".5", ast::LiteralValue::decimal(inf)},
      {"0." + std::string(400, '0') + "1", ast::LiteralValue::decimal(0.0)},
      {"0." + std::string(323, '0') + "5", ast::LiteralValue::decimal(5e-324)},
      {"FALSE", ast::LiteralValue::boolean(false)},
      {"True", ast::LiteralValue::boolean(true)},
  };
  for (const auto& c : cases) {
    auto parsed = parse_expression(c.text);
    ASSERT_TRUE(parsed.ok()) << c.text << ": " << parsed.error().message;
    const auto* literal = parsed.value().as<Expr::Literal>();
    ASSERT_NE(literal, nullptr) << c.text;
    EXPECT_TRUE(literal->value == c.want) << c.text << " read as " << format::format_literal(literal->value);
  }
}

TEST(ExprParser, TokensAndParserPrimitives) {
  auto tokens = parse::tokenize("--a>=b");
  ASSERT_TRUE(tokens.ok());
  std::vector<std::string> texts;
  for (const auto& t : tokens.value()) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"-", "-", "a", ">=", "b", ""}));
  EXPECT_EQ(tokens.value().back().span, (Span{6, 6}));

  parse::Parser p(parse::tokenize("1").value());
  auto comma = p.expect_kind(parse::TokenKind::Comma);
  EXPECT_EQ(comma.error(), (parse::ExprParseError{"expected ','", {0, 1}}));
  EXPECT_EQ(p.expect_kind(parse::TokenKind::Identifier).error().message, "expected 'identifier'");
  EXPECT_EQ(p.expect_kind(parse::TokenKind::Operator, "+").error().message, "expected '+'");
  EXPECT_EQ(p.expect_kind(parse::TokenKind::BooleanFalse).error().message, "expected 'boolean'");
  EXPECT_FALSE(p.match_kind(parse::TokenKind::Decimal));
  // Only the kind is compared, never the payload.
  EXPECT_EQ(p.expect_kind(parse::TokenKind::Integer).value(), (Span{0, 1}));
  EXPECT_EQ(p.expect_kind(parse::TokenKind::EndOfInput).value(), (Span{1, 1}));
  EXPECT_EQ(p.consume().kind, parse::TokenKind::EndOfInput);
  EXPECT_EQ(p.current().kind, parse::TokenKind::EndOfInput);

  // Each level stops at operators that bind more loosely.
  parse::Parser q(parse::tokenize("-a * b + c").value());
  Dumper d{false};
  EXPECT_EQ(ast::fold_post_order<std::string>(q.parse_multiplicative().value(), d), "(* (- a) b)");
  EXPECT_TRUE(q.current().is_operator("+"));
  parse::Parser u(parse::tokenize("-a * b").value());
  EXPECT_EQ(ast::fold_post_order<std::string>(u.parse_unary().value(), d), "(- a)");
}

// A plain recursive-descent reading of the grammar, one function per level,
// producing the same dump as Dumper with spans. Only for short inputs.
class ReferenceParser {
 public:
  explicit ReferenceParser(std::vector<parse::Token> tokens) : t_(std::move(tokens)) {}

  std::string run() {
    auto e = level(0);
    if (e && cur().kind != parse::TokenKind::EndOfInput) fail("unexpected trailing input", cur().span);
    if (error_) return "error: " + error_->message + at(error_->span);
    return e->text;
  }

 private:
  struct Node {
    std::string text;
    Span span;
  };
  static std::string at(Span s) { return "@" + std::to_string(s.start) + "-" + std::to_string(s.end); }
  const parse::Token& cur() const { return t_[i_]; }
  parse::Token consume() {
    parse::Token x = t_[i_];
    if (x.kind != parse::TokenKind::EndOfInput) ++i_;
    return x;
  }
  std::optional<Node> fail(std::string message, Span span) {
    if (!error_) error_ = parse::ExprParseError{std::move(message), span};
    return std::nullopt;
  }
  std::optional<Node> level(int n) {
    static const std::vector<std::vector<std::string>> kOps = {
        {"||"}, {"&&"}, {"==", "!=", "<", "<=", ">", ">="}, {"+", "-"}, {"*", "/"}};
    if (n == 5) return unary();
    auto left = level(n + 1);
    while (left && cur().kind == parse::TokenKind::Operator &&
           std::count(kOps[n].begin(), kOps[n].end(), cur().text)) {
      parse::Token op = consume();
      auto right = level(n + 1);
      if (!right) return std::nullopt;
      Span span{left->span.start, std::max(op.span.end, right->span.end)};
      left = Node{"(" + op.text + " " + left->text + " " + right->text + ")" + at(span), span};
    }
    return left;
  }
  std::optional<Node> unary() {
    if (cur().is_operator("-") || cur().is_operator("!")) {
      parse::Token op = consume();
      auto x = unary();
      if (!x) return std::nullopt;
      Span span{op.span.start, x->span.end};
      return Node{"(" + op.text + " " + x->text + ")" + at(span), span};
    }
    parse::Token t = consume();
    switch (t.kind) {
      case parse::TokenKind::Identifier: return call_or_field(t);
      case parse::TokenKind::Integer: return Node{std::to_string(t.integer) + at(t.span), t.span};
      case parse::TokenKind::StringLiteral: return Node{"\"" + t.text + "\"" + at(t.span), t.span};
      case parse::TokenKind::LeftParen: {
        auto e = level(0);
        if (!e) return std::nullopt;
        if (cur().kind != parse::TokenKind::RightParen) return fail("expected ')'", cur().span);
        consume();
        return e;
      }
      default: return fail(kPrimary, t.span);
    }
  }
  std::optional<Node> call_or_field(const parse::Token& name) {
    if (cur().kind != parse::TokenKind::LeftParen) return Node{name.text + at(name.span), name.span};
    consume();
    std::string args;
    if (cur().kind != parse::TokenKind::RightParen) {
      for (;;) {
        auto arg = level(0);
        if (!arg) return std::nullopt;
        args += (args.empty() ? "" : " ") + arg->text;
        if (cur().kind == parse::TokenKind::Comma) {
          consume();
          continue;
        }
        if (cur().kind != parse::TokenKind::RightParen) return fail("expected ')'", cur().span);
        break;
      }
    }
    Span span{name.span.start, consume().span.end};
    return Node{name.text + "[" + args + "]" + at(span), span};
  }

  std::vector<parse::Token> t_;
  std::size_t i_ = 0;
  std::optional<parse::ExprParseError> error_;
};

TEST(ExprParser, AgreesWithARecursiveDescentReading) {
  // Mostly well-formed alternations of operands and operators, with some
  // noise, so that both trees and every kind of error come up.
  const std::vector<std::string> operand_starts = {"a", "b", "1", "'s'", "(", "-", "!", "f(", "g()"};
  const std::vector<std::string> continuations = {"+", "-", "*", "/", "==", "<=", "&&", "||", ")", ","};
  std::uint32_t state = 12345;
  auto next = [&state](std::size_t n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  int trees = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    bool want_operand = true;
    for (std::size_t k = 0, length = 1 + next(12); k < length; ++k) {
      bool noise = next(10) == 0;
      const auto& pool = want_operand != noise ? operand_starts : continuations;
      const std::string& piece = pool[next(pool.size())];
      text += piece + (next(3) ? " " : "");
      want_operand = !(piece == "a" || piece == "b" || piece == "1" || piece == "'s'" || piece == ")" ||
                       piece == "g()");
    }
    auto parsed = parse_expression(text);
    trees += parsed.ok();
    std::string mine = parsed.ok() ? dump(text, true)
                                   : "error: " + parsed.error().message + "@" +
                                         std::to_string(parsed.error().span.start) + "-" +
                                         std::to_string(parsed.error().span.end);
    auto tokens = parse::tokenize(text);
    if (!tokens.ok()) {  // pieces glued into "!==" and the like
      EXPECT_EQ(parsed.error(), tokens.error()) << text;
      continue;
    }
    EXPECT_EQ(mine, ReferenceParser(std::move(tokens).value()).run()) << text;
  }
  EXPECT_GT(trees, 1500);
}

TEST(ExprParser, ErrorBecomesAnAnalysisDiagnostic) {
  auto d = parse::to_diagnostic({"unexpected trailing input", {3, 4}}, "total");
  EXPECT_EQ(d.id, "vorn:invalid-expression");
  EXPECT_EQ(d.severity, diagnostics::DiagnosticSeverity::Error);
  EXPECT_EQ(d.stage, diagnostics::DiagnosticStage::Analysis);
  EXPECT_EQ(d.category, diagnostics::DiagnosticCategory::Syntax);
  EXPECT_EQ(d.message, "unexpected trailing input");
  EXPECT_EQ(d.object_ref, "expressions.total");
  EXPECT_EQ(d.remediation, "Fix expression syntax (operators, parentheses, or string literals)");
}

}  // namespace
}  // namespace vorn::analysis::expr
