// Removal of expression nodes that nothing depends on.

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "plan/optimize/passes.h"

namespace vorn::plan::optimize {
namespace {

// Whether a path segment of `object_ref` is one of the removed ids: a piece
// that starts the path or follows a full stop and ends the path or meets a
// full stop or an index bracket ("expressions.e1", "expressions.e1.x",
// "expressions.e1[0]"). A mere substring does not count: removing e1 must
// not drop what is said about e10. Ids may hold full stops themselves, so a
// run of several segments is a candidate too, up to the longest removed id.
bool names_removed_segment(std::string_view object_ref, const RemovedIds& removed, std::size_t longest) {
  auto ends_segment = [&](std::size_t i) {
    return i == object_ref.size() || object_ref[i] == '.' || object_ref[i] == '[';
  };
  for (std::size_t start = 0; start <= object_ref.size(); ++start) {
    if (start > 0 && object_ref[start - 1] != '.') continue;
    std::size_t last = std::min(object_ref.size(), start + longest);
    for (std::size_t end = start; end <= last; ++end) {
      if (ends_segment(end) && removed.contains(object_ref.substr(start, end - start))) return true;
    }
  }
  return false;
}

}  // namespace

bool remove_dead_expressions(model::TransformationPlan& plan, const ProtectedIds& kept, OptimizeResult& out) {
  // Only expression nodes can go, so only their ids are looked up.
  std::unordered_map<std::string_view, bool> used;
  for (const model::PlanNode& node : plan.nodes) {
    if (node.kind.get_if<vorn::model::Expression>()) used.emplace(node.id, kept.contains(node.id));
  }
  for (const auto& d : plan.dependencies) {
    if (auto it = used.find(d.to); it != used.end()) it->second = true;
  }
  RemovedIds removed;
  for (const model::PlanNode& node : plan.nodes) {
    if (!node.kind.get_if<vorn::model::Expression>() || used.at(node.id)) continue;
    removed.insert(node.id);
    out.transforms.push_back({"deadExpression", node.id, "removed unused expression node"});
  }
  if (removed.empty()) return false;
  // Only the expressions go: another node sharing an id is not dead.
  std::erase_if(plan.nodes, [&](const model::PlanNode& node) {
    return node.kind.get_if<vorn::model::Expression>() && removed.contains(node.id);
  });
  std::size_t longest = 0;
  for (const std::string& id : removed) longest = std::max(longest, id.size());
  std::erase_if(plan.findings,
                [&](const auto& finding) { return names_removed_segment(finding.object_ref, removed, longest); });
  return true;
}

}  // namespace vorn::plan::optimize
