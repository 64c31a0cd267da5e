#include "analysis/expr/eval/operators.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace vorn::analysis::expr::eval {
namespace {

using ast::BinaryOp;
using ast::LiteralKind;
using ast::LiteralValue;
using Value = std::optional<LiteralValue>;

Value integer_arithmetic(BinaryOp op, std::int64_t a, std::int64_t b) {
  std::int64_t r = 0;
  switch (op) {
    case BinaryOp::Add:
      if (__builtin_add_overflow(a, b, &r)) return std::nullopt;
      return LiteralValue::integer(r);
    case BinaryOp::Sub:
      if (__builtin_sub_overflow(a, b, &r)) return std::nullopt;
      return LiteralValue::integer(r);
    case BinaryOp::Mul:
      if (__builtin_mul_overflow(a, b, &r)) return std::nullopt;
      return LiteralValue::integer(r);
    case BinaryOp::Div:
      // The smallest integer divided by -1 has no 64-bit quotient.
      if (b == 0 || (b == -1 && a == std::numeric_limits<std::int64_t>::min())) return std::nullopt;
      return LiteralValue::integer(a / b);  // truncates toward zero
    default:
      return std::nullopt;
  }
}

Value decimal_arithmetic(BinaryOp op, double a, double b) {
  switch (op) {
    case BinaryOp::Add: return LiteralValue::decimal(a + b);
    case BinaryOp::Sub: return LiteralValue::decimal(a - b);
    case BinaryOp::Mul: return LiteralValue::decimal(a * b);
    case BinaryOp::Div:
      if (b == 0.0) return std::nullopt;  // either sign; an integer 0 converts to 0.0
      return LiteralValue::decimal(a / b);
    default:
      return std::nullopt;
  }
}

bool is_number(const LiteralValue& v) { return v.is_integer() || v.is_decimal(); }

double as_double(const LiteralValue& v) {
  return v.is_integer() ? static_cast<double>(v.as_integer()) : v.as_decimal();
}

// Negative, zero or positive as a sorts before, with or after b; both of one
// kind. Not-a-number ties with everything, so < and > are false and <= and >=
// true when either decimal is NaN.
int compare_same_kind(const LiteralValue& a, const LiteralValue& b) {
  auto three_way = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
  switch (a.kind()) {
    case LiteralKind::Boolean: return three_way(a.as_boolean(), b.as_boolean());
    case LiteralKind::Integer: return three_way(a.as_integer(), b.as_integer());
    case LiteralKind::String: return a.as_string().compare(b.as_string());  // byte-wise, unsigned
    case LiteralKind::Decimal: {
      double x = a.as_decimal(), y = b.as_decimal();
      if (std::isnan(x) || std::isnan(y)) return 0;
      return three_way(x, y);
    }
  }
  return 0;
}

Value ordering(BinaryOp op, const LiteralValue& a, const LiteralValue& b) {
  if (a.kind() != b.kind()) return std::nullopt;
  int c = compare_same_kind(a, b);
  switch (op) {
    case BinaryOp::Lt: return LiteralValue::boolean(c < 0);
    case BinaryOp::Le: return LiteralValue::boolean(c <= 0);
    case BinaryOp::Gt: return LiteralValue::boolean(c > 0);
    default: return LiteralValue::boolean(c >= 0);
  }
}

}  // namespace

std::optional<LiteralValue> apply_unary(ast::UnaryOp op, const LiteralValue& operand) {
  if (op == ast::UnaryOp::Not) {
    if (!operand.is_boolean()) return std::nullopt;
    return LiteralValue::boolean(!operand.as_boolean());
  }
  if (operand.is_integer()) {
    std::int64_t r = 0;
    if (__builtin_sub_overflow(std::int64_t{0}, operand.as_integer(), &r)) return std::nullopt;
    return LiteralValue::integer(r);
  }
  if (operand.is_decimal()) return LiteralValue::decimal(-operand.as_decimal());
  return std::nullopt;
}

std::optional<LiteralValue> apply_binary(BinaryOp op, LiteralValue left, LiteralValue right) {
  switch (op) {
    case BinaryOp::Eq:
    case BinaryOp::Ne: {
      // LiteralValue equality: same kind and IEEE-equal payload.
      bool equal = left == right;
      return LiteralValue::boolean(op == BinaryOp::Eq ? equal : !equal);
    }
    case BinaryOp::Lt:
    case BinaryOp::Le:
    case BinaryOp::Gt:
    case BinaryOp::Ge:
      return ordering(op, left, right);
    case BinaryOp::And:
    case BinaryOp::Or:
      if (!left.is_boolean() || !right.is_boolean()) return std::nullopt;
      return LiteralValue::boolean(op == BinaryOp::And ? left.as_boolean() && right.as_boolean()
                                                       : left.as_boolean() || right.as_boolean());
    default:
      break;
  }
  if (left.is_integer() && right.is_integer()) {
    return integer_arithmetic(op, left.as_integer(), right.as_integer());
  }
  if (is_number(left) && is_number(right)) return decimal_arithmetic(op, as_double(left), as_double(right));
  if (op == BinaryOp::Add && left.is_string() && right.is_string()) {
    std::string text = std::move(std::get<std::string>(left.data));
    text += right.as_string();
    return LiteralValue::string(std::move(text));
  }
  return std::nullopt;
}

}  // namespace vorn::analysis::expr::eval
