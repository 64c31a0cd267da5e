#include "analysis/expr/simplify.h"

#include <optional>

#include "analysis/expr/walk.h"

namespace vorn::analysis::expr::rewrite {
namespace {

using ast::BinaryOp;
using ast::Expr;
using ast::ExprPtr;
using ast::LiteralValue;

const LiteralValue* literal_of(const Expr& e) {
  const auto* literal = e.as<Expr::Literal>();
  return literal ? &literal->value : nullptr;
}

// Integer 0 or a decimal equal to 0.0 (either sign).
bool is_zero(const Expr& e) {
  const LiteralValue* v = literal_of(e);
  return v && ((v->is_integer() && v->as_integer() == 0) || (v->is_decimal() && v->as_decimal() == 0.0));
}

bool is_one(const Expr& e) {
  const LiteralValue* v = literal_of(e);
  return v && ((v->is_integer() && v->as_integer() == 1) || (v->is_decimal() && v->as_decimal() == 1.0));
}

bool is_boolean(const Expr& e, bool wanted) {
  const LiteralValue* v = literal_of(e);
  return v && v->is_boolean() && v->as_boolean() == wanted;
}

enum class Pick { Left, Right, ZeroOfLeft, ZeroOfRight, Neither };

// The first rule of the operator that matches the simplified operands.
Pick pick(BinaryOp op, const Expr& l, const Expr& r) {
  switch (op) {
    case BinaryOp::Add:
      if (is_zero(r)) return Pick::Left;
      if (is_zero(l)) return Pick::Right;
      return Pick::Neither;
    case BinaryOp::Sub:
      return is_zero(r) ? Pick::Left : Pick::Neither;
    case BinaryOp::Mul:
      if (is_zero(r)) return Pick::ZeroOfRight;
      if (is_one(r)) return Pick::Left;
      if (is_zero(l)) return Pick::ZeroOfLeft;
      if (is_one(l)) return Pick::Right;
      return Pick::Neither;
    case BinaryOp::Div:
      return is_one(r) ? Pick::Left : Pick::Neither;
    case BinaryOp::And:
      if (is_boolean(l, true)) return Pick::Right;
      if (is_boolean(l, false)) return Pick::Left;
      if (is_boolean(r, true)) return Pick::Left;
      if (is_boolean(r, false)) return Pick::Right;
      return Pick::Neither;
    case BinaryOp::Or:
      if (is_boolean(l, true)) return Pick::Left;
      if (is_boolean(l, false)) return Pick::Right;
      if (is_boolean(r, true)) return Pick::Right;
      if (is_boolean(r, false)) return Pick::Left;
      return Pick::Neither;
    default:
      return Pick::Neither;
  }
}

// Works on heap nodes so that a kept operand moves up by its pointer.
struct Simplifier {
  static constexpr bool kWalksCallArguments = false;

  ExprPtr leaf(const Expr& e) { return std::make_unique<Expr>(e); }

  ExprPtr unary(const Expr& e, ExprPtr operand) {
    auto op = e.as<Expr::Unary>()->op;
    if (auto* inner = operand->as<Expr::Unary>(); inner && inner->op == op) {
      // --y and !!y cancel to y. y is already the output of a simplification
      // and simplifying is idempotent, so simplifying y again would return
      // it unchanged, spans included.
      return std::move(inner->operand);
    }
    return std::make_unique<Expr>(e.span, Expr::Unary{op, std::move(operand)});
  }

  ExprPtr binary(const Expr& e, ExprPtr left, ExprPtr right) {
    auto op = e.as<Expr::Binary>()->op;
    switch (pick(op, *left, *right)) {
      case Pick::Left: return left;
      case Pick::Right: return right;
      case Pick::ZeroOfLeft: return std::make_unique<Expr>(e.span, *left->as<Expr::Literal>());
      case Pick::ZeroOfRight: return std::make_unique<Expr>(e.span, *right->as<Expr::Literal>());
      case Pick::Neither: break;
    }
    return std::make_unique<Expr>(e.span, Expr::Binary{op, std::move(left), std::move(right)});
  }
};

}  // namespace

Expr simplify_expression(const Expr& e) {
  Simplifier simplifier;
  return std::move(*ast::fold_post_order<ExprPtr>(e, simplifier));
}

}  // namespace vorn::analysis::expr::rewrite
