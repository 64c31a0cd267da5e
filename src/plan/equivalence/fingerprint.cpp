#include "plan/equivalence/fingerprint.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include <fmt/format.h>

#include "analysis/expr/rewrite.h"
#include "plan/graph/topological_order.h"
#include "plan/idempotent_actions.h"
#include "plan/rule_key.h"
#include "plan/validate/plan_as_contract.h"
#include "support/unicode.h"

namespace vorn::plan::equivalence {
namespace {

class Collector {
 public:
  explicit Collector(SemanticFingerprint& out) : out_(out) {}

  void operator()(const vorn::model::SemanticAction& action) {
    std::string key = fmt::format("action:{}@{}", action.action, action.target);
    if (!out_.node_keys.empty() && out_.node_keys.back() == key && is_idempotent_action(action.action)) return;
    out_.node_keys.push_back(std::move(key));
  }

  void operator()(const vorn::model::Expression& expression) {
    if (!expression.expr || is_blank(*expression.expr)) return;
    out_.node_keys.push_back(fmt::format(
        "expr:{}@{}", analysis::expr::rewrite::normalize_expression_body(*expression.expr), expression.id));
  }

  void operator()(const vorn::model::Rule& rule) {
    out_.rule_keys.insert(
        fmt::format("rule:{}@{}:{}", rule.rule, rule.target, rule_key::rule_effect_identity(rule)));
  }

 private:
  SemanticFingerprint& out_;
};

}  // namespace

SemanticFingerprint semantic_fingerprint(const model::TransformationPlan& plan) {
  SemanticFingerprint out;
  auto order = graph::topological_order(validate::plan_interfaces_as_contract(plan), plan.nodes, plan.dependencies);
  if (order.empty()) return out;
  // Of two nodes sharing an id, the later one counts.
  std::unordered_map<std::string_view, std::size_t> by_id;
  by_id.reserve(plan.nodes.size());
  for (std::size_t i = 0; i < plan.nodes.size(); ++i) by_id.insert_or_assign(plan.nodes[i].id, i);
  // Whether the id counts, by the position of the node it finds: some
  // semantic action or rule holds it, or a dependency starts or ends at it.
  std::vector<char> live(plan.nodes.size(), 0);
  for (const auto& node : plan.nodes) {
    if (!node.kind.get_if<vorn::model::Expression>()) live[by_id[node.id]] = 1;
  }
  for (const auto& d : plan.dependencies) {
    for (const std::string* end : {&d.from, &d.to}) {
      if (auto it = by_id.find(*end); it != by_id.end()) live[it->second] = 1;
    }
  }
  Collector collect(out);
  for (const std::string& id : order) {
    auto it = by_id.find(id);
    if (it == by_id.end()) continue;  // an input or output
    if (!live[it->second]) continue;
    std::visit(collect, plan.nodes[it->second].kind.value);
  }
  return out;
}

}  // namespace vorn::plan::equivalence
