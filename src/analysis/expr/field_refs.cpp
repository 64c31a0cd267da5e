#include "analysis/expr/field_refs.h"

#include <algorithm>

namespace vorn::analysis::expr {

std::vector<std::string> collect_field_refs(const ast::Expr& expr) {
  using ast::Expr;
  // The names are sorted afterwards, so the walk order does not matter;
  // a heap stack keeps deep trees off the call stack.
  std::vector<std::string> names;
  std::vector<const Expr*> todo{&expr};
  while (!todo.empty()) {
    const Expr* node = todo.back();
    todo.pop_back();
    if (const auto* ref = node->as<Expr::FieldRef>()) {
      names.push_back(ref->name);
    } else if (const auto* unary = node->as<Expr::Unary>()) {
      todo.push_back(unary->operand.get());
    } else if (const auto* binary = node->as<Expr::Binary>()) {
      todo.push_back(binary->right.get());
      todo.push_back(binary->left.get());
    } else if (const auto* call = node->as<Expr::Call>()) {
      for (auto it = call->args.rbegin(); it != call->args.rend(); ++it) todo.push_back(it->get());
    }
  }
  std::stable_sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace vorn::analysis::expr
