#pragma once
// The dependency list while the graph is built: edges in the order they are
// found, never one from a vertex to itself, never two equal ones. Equal
// edges are found through a hash set of positions in the list (open
// addressing, one flat array), so building stays linear in the number of
// edges.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "plan/model/dependency.h"

namespace vorn::plan::graph {

class EdgeList {
 public:
  // Appends the edge unless `from` equals `to` or the same edge (all three
  // fields) is already recorded.
  void push_edge(std::string_view from, std::string_view to, model::DependencyReason reason);

  const std::vector<model::PlanDependency>& edges() const { return edges_; }
  std::vector<model::PlanDependency> take() { return std::move(edges_); }

 private:
  static constexpr std::uint32_t kEmpty = UINT32_MAX;

  // The slot holding an edge equal to the given one, or the empty slot
  // where it belongs.
  std::size_t slot_of(std::string_view from, std::string_view to, model::DependencyReason reason,
                      std::size_t hash) const;
  void grow();

  std::vector<model::PlanDependency> edges_;
  std::vector<std::size_t> hashes_;   // per edge, so that growing rehashes nothing
  std::vector<std::uint32_t> slots_;  // positions in edges_, or kEmpty
};

}  // namespace vorn::plan::graph
