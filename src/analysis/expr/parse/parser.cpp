#include "analysis/expr/parse/parser.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "analysis/expr/parse/lexer.h"

namespace vorn::analysis::expr::parse {
namespace {

using ast::BinaryOp;
using ast::ExprPtr;
using ast::LiteralValue;
using ast::UnaryOp;

constexpr std::string_view kPrimaryError =
    "expected a literal, field reference, function call, or parenthesized expression";

struct BinaryOperator {
  std::string_view text;
  BinaryOp op;
  Level level;
};

constexpr std::array<BinaryOperator, 12> kBinaryOperators{{
    {"||", BinaryOp::Or, Level::Or},
    {"&&", BinaryOp::And, Level::And},
    {"==", BinaryOp::Eq, Level::Comparison},
    {"!=", BinaryOp::Ne, Level::Comparison},
    {"<", BinaryOp::Lt, Level::Comparison},
    {"<=", BinaryOp::Le, Level::Comparison},
    {">", BinaryOp::Gt, Level::Comparison},
    {">=", BinaryOp::Ge, Level::Comparison},
    {"+", BinaryOp::Add, Level::Additive},
    {"-", BinaryOp::Sub, Level::Additive},
    {"*", BinaryOp::Mul, Level::Multiplicative},
    {"/", BinaryOp::Div, Level::Multiplicative},
}};

std::optional<BinaryOperator> binary_operator(const Token& t) {
  if (t.kind != TokenKind::Operator) return std::nullopt;
  for (const auto& entry : kBinaryOperators) {
    if (entry.text == t.text) return entry;
  }
  return std::nullopt;
}

std::optional<UnaryOp> unary_operator(const Token& t) {
  if (t.is_operator("-")) return UnaryOp::Neg;
  if (t.is_operator("!")) return UnaryOp::Not;
  return std::nullopt;
}

// The tree for a token that is a whole primary by itself, else null.
ExprPtr leaf_of(const Token& t) {
  auto literal = [&t](LiteralValue v) { return std::make_unique<Expr>(t.span, Expr::Literal{std::move(v)}); };
  switch (t.kind) {
    case TokenKind::Identifier: return std::make_unique<Expr>(t.span, Expr::FieldRef{t.text});
    case TokenKind::StringLiteral: return literal(LiteralValue::string(t.text));
    case TokenKind::Integer: return literal(LiteralValue::integer(t.integer));
    case TokenKind::Decimal: return literal(LiteralValue::decimal(t.decimal));
    case TokenKind::BooleanTrue: return literal(LiteralValue::boolean(true));
    case TokenKind::BooleanFalse: return literal(LiteralValue::boolean(false));
    default: return nullptr;
  }
}

// What waits on the stack for operands: a prefix or infix operator, an open
// parenthesis, or a call whose arguments are being read.
struct Pending {
  enum class Kind : std::uint8_t { Unary, Binary, Group, Call };
  Kind kind;
  UnaryOp unary_op = UnaryOp::Neg;
  BinaryOp binary_op = BinaryOp::Add;
  Level level = Level::Unary;
  Span span;  // the operator or opening token

  static Pending prefix(UnaryOp op, Span span) { return {Kind::Unary, op, BinaryOp::Add, Level::Unary, span}; }
  static Pending infix(const BinaryOperator& op, Span span) {
    return {Kind::Binary, UnaryOp::Neg, op.op, op.level, span};
  }
  static Pending open(Kind kind, Span span) { return {kind, UnaryOp::Neg, BinaryOp::Add, Level::Or, span}; }
};

struct OpenCall {
  std::string name;
  std::size_t start;
  std::vector<ExprPtr> args;
};

}  // namespace

// The operand and operator stacks of one parse_level run. Operands are
// built on the heap, where they will stay once they join a parent.
class Parser::Stacks {
 public:
  std::vector<Pending> pending;
  std::vector<ExprPtr> operands;
  std::vector<OpenCall> calls;
  std::size_t open_groups = 0;  // Group and Call entries in `pending`

  ExprPtr pop_operand() {
    ExprPtr e = std::move(operands.back());
    operands.pop_back();
    return e;
  }

  // Folds operators on top of the stack (never past a group) while they bind
  // at least as strongly as `level`; prefix operators always do.
  void reduce_down_to(Level level) {
    while (!pending.empty()) {
      const Pending top = pending.back();
      if (top.kind == Pending::Kind::Unary) {
        ExprPtr& operand = operands.back();
        Span span{top.span.start, operand->span.end};
        operand = std::make_unique<Expr>(span, Expr::Unary{top.unary_op, std::move(operand)});
      } else if (top.kind == Pending::Kind::Binary && top.level >= level) {
        ExprPtr right = pop_operand();
        ExprPtr& left = operands.back();
        Span span{left->span.start, std::max(top.span.end, right->span.end)};
        left = std::make_unique<Expr>(span, Expr::Binary{top.binary_op, std::move(left), std::move(right)});
      } else {
        return;
      }
      pending.pop_back();
    }
  }
};

Parser::Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {
  if (tokens_.empty() || tokens_.back().kind != TokenKind::EndOfInput) {
    std::size_t end = tokens_.empty() ? 0 : tokens_.back().span.end;
    tokens_.push_back(Token{TokenKind::EndOfInput, {}, 0, 0.0, Span{end, end}});
  }
}

const Token& Parser::consume() {
  const Token& t = tokens_[index_];
  if (t.kind != TokenKind::EndOfInput) ++index_;
  return t;
}

bool Parser::match_kind(TokenKind kind, std::string_view op) {
  const Token& t = current();
  if (t.kind != kind || (kind == TokenKind::Operator && t.text != op)) return false;
  consume();
  return true;
}

ParseResult<Span> Parser::expect_kind(TokenKind kind, std::string_view op) {
  Span span = current().span;
  if (match_kind(kind, op)) return span;
  std::string_view name = kind == TokenKind::Operator ? op : token_kind_name(kind);
  return ExprParseError{"expected '" + std::string(name) + "'", span};
}

ParseResult<Expr> Parser::parse_level(Level lowest) {
  Stacks s;
  bool want_operand = true;
  for (;;) {
    if (want_operand) {
      if (auto error = read_operand_start(s, want_operand)) return std::move(*error);
      continue;
    }
    // An operand is complete: extend it with an infix operator, or end the
    // innermost open expression.
    std::optional<BinaryOperator> infix = binary_operator(current());
    Level floor = s.open_groups > 0 ? Level::Or : lowest;
    if (infix && infix->level >= floor) {
      Span op_span = consume().span;
      s.reduce_down_to(infix->level);
      s.pending.push_back(Pending::infix(*infix, op_span));
      want_operand = true;
      continue;
    }
    s.reduce_down_to(Level::Or);
    if (s.open_groups == 0) return std::move(*s.pop_operand());
    if (auto error = close_group(s, want_operand)) return std::move(*error);
  }
}

// Consumes the token where an operand starts: a prefix operator or an opening
// parenthesis goes on the stack, a leaf or an empty call completes the operand.
std::optional<ExprParseError> Parser::read_operand_start(Stacks& s, bool& want_operand) {
  const Token& t = consume();
  if (auto op = unary_operator(t)) {
    s.pending.push_back(Pending::prefix(*op, t.span));
  } else if (t.kind == TokenKind::LeftParen) {
    s.pending.push_back(Pending::open(Pending::Kind::Group, t.span));
    ++s.open_groups;
  } else if (t.kind == TokenKind::Identifier && match_kind(TokenKind::LeftParen)) {
    if (current().kind == TokenKind::RightParen) {
      Span close = consume().span;
      s.operands.push_back(std::make_unique<Expr>(Span{t.span.start, close.end}, Expr::Call{t.text, {}}));
      want_operand = false;
    } else {
      s.pending.push_back(Pending::open(Pending::Kind::Call, t.span));
      s.calls.push_back(OpenCall{t.text, t.span.start, {}});
      ++s.open_groups;
    }
  } else if (ExprPtr leaf = leaf_of(t)) {
    s.operands.push_back(std::move(leaf));
    want_operand = false;
  } else {
    return ExprParseError{std::string(kPrimaryError), t.span};
  }
  return std::nullopt;
}

// The innermost parenthesis or call has its complete operand on top of the
// operand stack: close it, or for a call go on to the next argument.
std::optional<ExprParseError> Parser::close_group(Stacks& s, bool& want_operand) {
  if (s.pending.back().kind == Pending::Kind::Group) {
    auto close = expect_kind(TokenKind::RightParen);
    if (!close) return std::move(close).take_error();
    s.pending.pop_back();
    --s.open_groups;
    return std::nullopt;
  }
  OpenCall& call = s.calls.back();
  call.args.push_back(s.pop_operand());
  if (match_kind(TokenKind::Comma)) {
    want_operand = true;
    return std::nullopt;
  }
  auto close = expect_kind(TokenKind::RightParen);
  if (!close) return std::move(close).take_error();
  Span span{call.start, close.value().end};
  s.operands.push_back(std::make_unique<Expr>(span, Expr::Call{std::move(call.name), std::move(call.args)}));
  s.calls.pop_back();
  s.pending.pop_back();
  --s.open_groups;
  return std::nullopt;
}

ParseResult<Expr> parse_expression(std::string_view text) {
  auto tokens = tokenize(text);
  if (!tokens) return std::move(tokens).take_error();
  Parser parser(std::move(tokens).value());
  auto tree = parser.parse_or();
  if (!tree) return tree;
  if (parser.current().kind != TokenKind::EndOfInput) {
    return ExprParseError{"unexpected trailing input", parser.current().span};
  }
  return tree;
}

diagnostics::Diagnostic to_diagnostic(const ExprParseError& error, std::string_view expression_id) {
  using namespace diagnostics;
  return Diagnostic::make(Code::InvalidExpression, DiagnosticSeverity::Error, DiagnosticStage::Analysis,
                          DiagnosticCategory::Syntax, error.message)
      .with_object_ref("expressions." + std::string(expression_id))
      .with_remediation("Fix expression syntax (operators, parentheses, or string literals)");
}

}  // namespace vorn::analysis::expr::parse
