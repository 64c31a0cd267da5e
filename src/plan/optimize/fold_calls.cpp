#include "plan/optimize/fold_calls.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/expr/eval/evaluate.h"
#include "analysis/expr/walk.h"
#include "model/json_value.h"

namespace vorn::plan::optimize {
namespace {

using analysis::expr::ast::Expr;
using analysis::expr::ast::ExprPtr;
using analysis::expr::ast::LiteralValue;
using vorn::model::registry::RegistryCategory;
using vorn::model::registry::RegistryDocument;

// Only a function the registry marks deterministic may be computed ahead of
// the run: anything else (a missing key, false, unreadable text) keeps it.
bool declared_deterministic(const RegistryDocument& registry, const std::string& name) {
  auto it = registry.entries.find(name);
  if (it == registry.entries.end()) return false;
  const auto& entry = it->second;
  if (entry.category != RegistryCategory::Function || !entry.definition) return false;
  auto json = vorn::model::parse_json_text(*entry.definition);
  if (json.is_discarded() || !json.is_object()) return false;
  auto key = json.find("deterministic");
  return key != json.end() && key->is_boolean() && key->get<bool>();
}

// A rebuilt subtree and whether it is built from literals and operators
// only. Knowing that bottom-up spares walking every argument again: only
// arguments that are constant are evaluated, and each node is evaluated for
// at most one call, since a call above an unfolded call is not constant.
struct Folded {
  ExprPtr expr;
  bool constant = false;
};

class CallFolder {
 public:
  static constexpr bool kWalksCallArguments = true;

  explicit CallFolder(const RegistryDocument& registry) : registry_(registry) {}

  Folded leaf(const Expr& e) { return {std::make_unique<Expr>(e), e.kind() == analysis::expr::ast::ExprKind::Literal}; }

  Folded unary(const Expr& e, Folded operand) {
    bool constant = operand.constant;
    return {std::make_unique<Expr>(e.span, Expr::Unary{e.as<Expr::Unary>()->op, std::move(operand.expr)}),
            constant};
  }

  Folded binary(const Expr& e, Folded left, Folded right) {
    bool constant = left.constant && right.constant;
    return {std::make_unique<Expr>(e.span,
                                   Expr::Binary{e.as<Expr::Binary>()->op, std::move(left.expr),
                                                std::move(right.expr)}),
            constant};
  }

  Folded call(const Expr& e, std::vector<Folded> args) {
    const std::string& name = e.as<Expr::Call>()->name;
    if (auto value = fold(name, args)) return {std::make_unique<Expr>(e.span, Expr::Literal{std::move(*value)}), true};
    std::vector<ExprPtr> rebuilt;
    rebuilt.reserve(args.size());
    for (Folded& arg : args) rebuilt.push_back(std::move(arg.expr));
    return {std::make_unique<Expr>(e.span, Expr::Call{name, std::move(rebuilt)}), false};
  }

 private:
  std::optional<LiteralValue> fold(const std::string& name, const std::vector<Folded>& args) {
    if (name.size() < 5 || !name.starts_with("vorn:")) return std::nullopt;
    for (const Folded& arg : args) {
      if (!arg.constant) return std::nullopt;
    }
    if (!deterministic(name)) return std::nullopt;
    std::vector<LiteralValue> values;
    values.reserve(args.size());
    for (const Folded& arg : args) {
      auto value = analysis::expr::eval::evaluate(*arg.expr);
      if (!value) return std::nullopt;
      values.push_back(std::move(*value));
    }
    return analysis::expr::eval::evaluate_registry_call(name, values);
  }

  // Each name's definition is read once per tree.
  bool deterministic(const std::string& name) {
    auto [it, fresh] = deterministic_.try_emplace(name, false);
    if (fresh) it->second = declared_deterministic(registry_, name);
    return it->second;
  }

  const RegistryDocument& registry_;
  std::unordered_map<std::string, bool> deterministic_;
};

}  // namespace

Expr fold_expression_calls(const Expr& e, const RegistryDocument& registry) {
  CallFolder folder(registry);
  return std::move(*analysis::expr::ast::fold_post_order<Folded>(e, folder).expr);
}

}  // namespace vorn::plan::optimize
