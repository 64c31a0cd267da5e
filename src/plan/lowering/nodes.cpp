#include "plan/lowering/nodes.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace vorn::plan::lowering {
namespace {

using model::PlanNode;

template <class Record>
void add_nodes(const std::vector<Record>& records, std::string_view section, std::vector<PlanNode>& nodes) {
  for (const Record& record : records)
    nodes.push_back(PlanNode{record.id, model::PlanNodeKind{record}, std::string(section) + record.id});
}

}  // namespace

std::vector<PlanNode> make_nodes(const vorn::model::TransformationContract& c) {
  std::vector<PlanNode> nodes;
  nodes.reserve(c.semantic_actions.size() + c.expressions.size() + c.rules.size());
  add_nodes(c.semantic_actions, "semanticActions.", nodes);
  add_nodes(c.expressions, "expressions.", nodes);
  add_nodes(c.rules, "rules.", nodes);
  std::stable_sort(nodes.begin(), nodes.end(), [](const PlanNode& a, const PlanNode& b) { return a.id < b.id; });
  return nodes;
}

}  // namespace vorn::plan::lowering
