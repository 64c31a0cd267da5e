#include "plan/lowering/nodes.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace vorn::plan::lowering {
namespace {

using model::PlanNode;

// Where a record sits: its section's list and its position there.
struct Place {
  std::string_view id;
  int section;
  std::size_t index;
};

template <class Record>
void add_places(const std::vector<Record>& records, int section, std::vector<Place>& places) {
  for (std::size_t i = 0; i < records.size(); ++i) places.push_back({records[i].id, section, i});
}

template <class Record>
PlanNode node_of(const Record& record, std::string_view section) {
  return PlanNode{record.id, model::PlanNodeKind{record}, std::string(section) + record.id};
}

}  // namespace

std::vector<PlanNode> make_nodes(const vorn::model::TransformationContract& c) {
  // Sorting the places rather than the nodes moves small values only.
  std::vector<Place> places;
  places.reserve(c.semantic_actions.size() + c.expressions.size() + c.rules.size());
  add_places(c.semantic_actions, 0, places);
  add_places(c.expressions, 1, places);
  add_places(c.rules, 2, places);
  std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) { return a.id < b.id; });
  std::vector<PlanNode> nodes;
  nodes.reserve(places.size());
  for (const Place& p : places) {
    if (p.section == 0) nodes.push_back(node_of(c.semantic_actions[p.index], "semanticActions."));
    if (p.section == 1) nodes.push_back(node_of(c.expressions[p.index], "expressions."));
    if (p.section == 2) nodes.push_back(node_of(c.rules[p.index], "rules."));
  }
  return nodes;
}

}  // namespace vorn::plan::lowering
