#include "analysis/expr/constants.h"

#include <vector>

namespace vorn::analysis::expr::constants {

bool is_constant(const ast::Expr& e) {
  using ast::Expr;
  // Literals are constant, unary and binary nodes are constant when all their
  // operands are: so the tree is constant exactly when no node is a field
  // reference or a call. Any walk order will do; this one needs no results.
  std::vector<const Expr*> todo{&e};
  while (!todo.empty()) {
    const Expr* node = todo.back();
    todo.pop_back();
    switch (node->kind()) {
      case ast::ExprKind::Literal:
        break;
      case ast::ExprKind::Unary:
        todo.push_back(node->as<Expr::Unary>()->operand.get());
        break;
      case ast::ExprKind::Binary:
        todo.push_back(node->as<Expr::Binary>()->right.get());
        todo.push_back(node->as<Expr::Binary>()->left.get());
        break;
      case ast::ExprKind::FieldRef:
      case ast::ExprKind::Call:
        return false;
    }
  }
  return true;
}

}  // namespace vorn::analysis::expr::constants
