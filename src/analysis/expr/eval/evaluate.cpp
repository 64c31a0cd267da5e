#include "analysis/expr/eval/evaluate.h"

#include "analysis/expr/constants.h"
#include "analysis/expr/eval/operators.h"
#include "analysis/expr/walk.h"

namespace vorn::analysis::expr::eval {
namespace {

using ast::Expr;
using ast::LiteralValue;
using Value = std::optional<LiteralValue>;

struct Evaluator {
  // Calls have no value here whatever their arguments.
  static constexpr bool kWalksCallArguments = false;

  Value leaf(const Expr& e) {
    if (const auto* literal = e.as<Expr::Literal>()) return literal->value;
    return std::nullopt;
  }

  Value unary(const Expr& e, Value operand) {
    if (!operand) return std::nullopt;
    return apply_unary(e.as<Expr::Unary>()->op, *operand);
  }

  Value binary(const Expr& e, Value left, Value right) {
    if (!left || !right) return std::nullopt;
    return apply_binary(e.as<Expr::Binary>()->op, std::move(*left), std::move(*right));
  }
};

}  // namespace

std::optional<LiteralValue> evaluate(const Expr& e) {
  // A field or a call anywhere leaves the whole tree without a value, since
  // every operator needs values for all its operands; the cheap check first
  // spares building values that would be thrown away.
  if (!constants::is_constant(e)) return std::nullopt;
  Evaluator evaluator;
  return ast::fold_post_order<Value>(e, evaluator);
}

}  // namespace vorn::analysis::expr::eval
