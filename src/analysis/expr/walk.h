#pragma once
// Bottom-up folding over an expression tree without recursion: trees are as
// deep as their text is long, so the pending nodes and the partial results
// live in vectors on the heap instead of on the call stack.

#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

#include "analysis/expr/ast.h"

namespace vorn::analysis::expr::ast {

// Computes one R per node, children before parents, left to right. The
// visitor supplies
//   static constexpr bool kWalksCallArguments;
//   R leaf(const Expr&)                        // Literal, FieldRef, and Call
//                                              // when arguments are not walked
//   R unary(const Expr&, R operand);
//   R binary(const Expr&, R left, R right);
//   R call(const Expr&, std::vector<R> args);  // when arguments are walked
template <class R, class Visitor>
R fold_post_order(const Expr& root, Visitor& visitor) {
  struct Frame {
    const Expr* node;
    bool expanded;
  };
  std::vector<Frame> pending{{&root, false}};
  std::vector<R> results;

  // Children go on the stack right to left so that they finish left to right.
  auto push_children = [&pending](const Expr& node) {
    std::size_t before = pending.size();
    if (const auto* u = node.as<Expr::Unary>()) {
      pending.push_back({u->operand.get(), false});
    } else if (const auto* b = node.as<Expr::Binary>()) {
      pending.push_back({b->right.get(), false});
      pending.push_back({b->left.get(), false});
    } else if (const auto* c = node.as<Expr::Call>()) {
      if constexpr (Visitor::kWalksCallArguments) {
        for (auto it = c->args.rbegin(); it != c->args.rend(); ++it) pending.push_back({it->get(), false});
      }
    }
    return pending.size() != before;
  };

  auto take_last = [&results]() {
    R r = std::move(results.back());
    results.pop_back();
    return r;
  };

  while (!pending.empty()) {
    const Expr* node = pending.back().node;
    if (!pending.back().expanded) {
      pending.back().expanded = true;
      if (push_children(*node)) continue;
    }
    pending.pop_back();
    switch (node->kind()) {
      case ExprKind::Unary: {
        R operand = take_last();
        results.push_back(visitor.unary(*node, std::move(operand)));
        continue;
      }
      case ExprKind::Binary: {
        R right = take_last();
        R left = take_last();
        results.push_back(visitor.binary(*node, std::move(left), std::move(right)));
        continue;
      }
      case ExprKind::Call:
        if constexpr (Visitor::kWalksCallArguments) {
          auto first = results.end() - static_cast<std::ptrdiff_t>(node->as<Expr::Call>()->args.size());
          std::vector<R> args(std::make_move_iterator(first), std::make_move_iterator(results.end()));
          results.erase(first, results.end());
          results.push_back(visitor.call(*node, std::move(args)));
          continue;
        }
        break;
      default:
        break;
    }
    results.push_back(visitor.leaf(*node));
  }
  return take_last();
}

}  // namespace vorn::analysis::expr::ast
