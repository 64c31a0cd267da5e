#include "analysis/expr/ast.h"

#include "analysis/expr/walk.h"

namespace vorn::analysis::expr::ast {
namespace {

// Rebuilds a tree node by node; used by the copy constructor so that copying
// a deep tree does not recurse. Nodes are built on the heap where they end up.
struct Cloner {
  static constexpr bool kWalksCallArguments = true;

  // Literals and field references; calls arrive through call().
  ExprPtr leaf(const Expr& e) {
    if (const auto* literal = e.as<Expr::Literal>()) return std::make_unique<Expr>(e.span, *literal);
    return std::make_unique<Expr>(e.span, *e.as<Expr::FieldRef>());
  }
  ExprPtr unary(const Expr& e, ExprPtr operand) {
    return std::make_unique<Expr>(e.span, Expr::Unary{e.as<Expr::Unary>()->op, std::move(operand)});
  }
  ExprPtr binary(const Expr& e, ExprPtr left, ExprPtr right) {
    return std::make_unique<Expr>(e.span, Expr::Binary{e.as<Expr::Binary>()->op, std::move(left), std::move(right)});
  }
  ExprPtr call(const Expr& e, std::vector<ExprPtr> args) {
    return std::make_unique<Expr>(e.span, Expr::Call{e.as<Expr::Call>()->name, std::move(args)});
  }
};

Expr::Node copy_node(const Expr& other) {
  // Leaves are copied directly: they are the common case and need no walk.
  if (const auto* literal = other.as<Expr::Literal>()) return *literal;
  if (const auto* field = other.as<Expr::FieldRef>()) return *field;
  Cloner cloner;
  return std::move(fold_post_order<ExprPtr>(other, cloner)->node);
}

// Moves the children of `e` out into `out`, leaving `e` childless.
void detach_children(Expr& e, std::vector<ExprPtr>& out) {
  if (auto* u = e.as<Expr::Unary>()) {
    if (u->operand) out.push_back(std::move(u->operand));
  } else if (auto* b = e.as<Expr::Binary>()) {
    if (b->left) out.push_back(std::move(b->left));
    if (b->right) out.push_back(std::move(b->right));
  } else if (auto* c = e.as<Expr::Call>()) {
    for (auto& arg : c->args) {
      if (arg) out.push_back(std::move(arg));
    }
    c->args.clear();
  }
}

}  // namespace

std::string_view symbol(UnaryOp op) { return op == UnaryOp::Neg ? "-" : "!"; }

std::string_view symbol(BinaryOp op) {
  switch (op) {
    case BinaryOp::Add: return "+";
    case BinaryOp::Sub: return "-";
    case BinaryOp::Mul: return "*";
    case BinaryOp::Div: return "/";
    case BinaryOp::Eq: return "==";
    case BinaryOp::Ne: return "!=";
    case BinaryOp::Lt: return "<";
    case BinaryOp::Le: return "<=";
    case BinaryOp::Gt: return ">";
    case BinaryOp::Ge: return ">=";
    case BinaryOp::And: return "&&";
    case BinaryOp::Or: return "||";
  }
  return "?";
}

Expr::Expr(const Expr& other) : span(other.span), node(copy_node(other)) {}

Expr& Expr::operator=(const Expr& other) {
  if (this != &other) *this = Expr(other);
  return *this;
}

Expr& Expr::operator=(Expr&& other) noexcept {
  // Take `other` out first: it may be owned by this tree, which the swap
  // below hands to `old` for destruction.
  Expr taken(std::move(other));
  Expr old(std::move(*this));
  span = taken.span;
  node = std::move(taken.node);
  return *this;
}

Expr::~Expr() {
  std::vector<ExprPtr> doomed;
  detach_children(*this, doomed);
  while (!doomed.empty()) {
    ExprPtr e = std::move(doomed.back());
    doomed.pop_back();
    detach_children(*e, doomed);
    // `e` dies here with no children left, so its destructor stays shallow.
  }
}

Expr Expr::literal(LiteralValue value, Span s) { return Expr(s, Literal{std::move(value)}); }

Expr Expr::field_ref(std::string name, Span s) { return Expr(s, FieldRef{std::move(name)}); }

Expr Expr::unary(UnaryOp op, Expr operand, Span s) {
  return Expr(s, Unary{op, std::make_unique<Expr>(std::move(operand))});
}

Expr Expr::binary(BinaryOp op, Expr left, Expr right, Span s) {
  return Expr(s, Binary{op, std::make_unique<Expr>(std::move(left)), std::make_unique<Expr>(std::move(right))});
}

Expr Expr::call(std::string name, std::vector<Expr> args, Span s) {
  std::vector<ExprPtr> owned;
  owned.reserve(args.size());
  for (auto& arg : args) owned.push_back(std::make_unique<Expr>(std::move(arg)));
  return Expr(s, Call{std::move(name), std::move(owned)});
}

}  // namespace vorn::analysis::expr::ast
