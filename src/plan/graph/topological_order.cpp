#include "plan/graph/topological_order.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <numeric>
#include <functional>
#include <string_view>

namespace vorn::plan::graph {
namespace {

using Vertex = std::uint32_t;
constexpr Vertex kNone = UINT32_MAX;

// One run of Kahn's algorithm over the distinct vertices. Successors are
// kept in one array, grouped by vertex, so that large graphs cost few
// allocations. Which vertices it removes does not depend on the order it
// takes them in, so a run that only tests for a cycle skips the sorting.
class Kahn {
 public:
  enum Mode { kOrdered, kUnordered };

  Kahn(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
       const std::vector<model::PlanDependency>& dependencies, Mode mode)
      : ordered_(mode == kOrdered) {
    std::size_t most = contract.inputs.size() + contract.outputs.size() + nodes.size();
    slots_.assign(std::bit_ceil(2 * most + 2), kNone);
    names_.reserve(most);
    for (const auto& input : contract.inputs) add_vertex(input.id);
    for (const auto& output : contract.outputs) add_vertex(output.id);
    for (const auto& node : nodes) add_vertex(node.id);
    if (ordered_) rank_vertices();
    link(dependencies);
    run();
  }

  bool complete() const { return order_.size() == names_.size(); }
  // Texts that are no vertex count as removed: they never hold a cycle.
  bool removed(std::string_view id) const {
    Vertex v = find(id);
    return v == kNone || in_degree_[v] == 0;
  }
  std::vector<std::string> order() const {
    std::vector<std::string> out;
    out.reserve(order_.size());
    for (Vertex v : order_) out.emplace_back(names_[v]);
    return out;
  }

 private:
  // The vertex index: open addressing over one flat array of vertex
  // numbers, sized once, so that a large graph's lookups stay cheap.
  std::size_t slot_of(std::string_view id) const {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = std::hash<std::string_view>{}(id) & mask;
    while (slots_[i] != kNone && names_[slots_[i]] != id) i = (i + 1) & mask;
    return i;
  }
  void add_vertex(std::string_view id) {
    std::size_t slot = slot_of(id);
    if (slots_[slot] != kNone) return;
    slots_[slot] = static_cast<Vertex>(names_.size());
    names_.push_back(id);
  }
  Vertex find(std::string_view id) const { return slots_[slot_of(id)]; }

  // Ascending byte order, computed once so that every later sort compares
  // integers.
  void rank_vertices() {
    by_rank_.resize(names_.size());
    std::iota(by_rank_.begin(), by_rank_.end(), Vertex{0});
    std::sort(by_rank_.begin(), by_rank_.end(), [&](Vertex a, Vertex b) { return names_[a] < names_[b]; });
    rank_.resize(names_.size());
    for (Vertex r = 0; r < by_rank_.size(); ++r) rank_[by_rank_[r]] = r;
  }

  // Every dependency between two vertices, repeats included, as successor
  // runs: those of vertex v are successors_[first_[v] .. first_[v + 1]).
  void link(const std::vector<model::PlanDependency>& dependencies) {
    std::vector<std::pair<Vertex, Vertex>> edges;
    edges.reserve(dependencies.size());
    for (const auto& d : dependencies) {
      Vertex from = find(d.from), to = find(d.to);
      if (from != kNone && to != kNone) edges.emplace_back(from, to);
    }
    first_.assign(names_.size() + 1, 0);
    in_degree_.assign(names_.size(), 0);
    for (const auto& [from, to] : edges) {
      ++first_[from + 1];
      ++in_degree_[to];
    }
    std::partial_sum(first_.begin(), first_.end(), first_.begin());
    successors_.resize(edges.size());
    std::vector<std::uint32_t> fill(first_.begin(), first_.end() - 1);
    for (const auto& [from, to] : edges) successors_[fill[from]++] = to;
  }

  void run() {
    order_.reserve(names_.size());
    for (Vertex i = 0; i < names_.size(); ++i) {
      Vertex v = ordered_ ? by_rank_[i] : i;
      if (in_degree_[v] == 0) order_.push_back(v);
    }
    // The order doubles as the first-in first-out queue: vertices are
    // appended when they become ready and taken from `next`.
    for (std::size_t next = 0; next < order_.size(); ++next) {
      Vertex v = order_[next];
      auto begin = successors_.begin() + first_[v], end = successors_.begin() + first_[v + 1];
      if (ordered_) std::sort(begin, end, [&](Vertex a, Vertex b) { return rank_[a] < rank_[b]; });
      for (auto it = begin; it != end; ++it) {
        if (--in_degree_[*it] == 0) order_.push_back(*it);
      }
    }
  }

  bool ordered_;
  std::vector<Vertex> slots_;
  std::vector<std::string_view> names_;
  std::vector<Vertex> rank_;
  std::vector<Vertex> by_rank_;
  std::vector<std::uint32_t> first_;
  std::vector<Vertex> successors_;
  std::vector<std::uint32_t> in_degree_;
  std::vector<Vertex> order_;
};

}  // namespace

std::vector<std::string> topological_order(const vorn::model::TransformationContract& contract,
                                           const std::vector<model::PlanNode>& nodes,
                                           const std::vector<model::PlanDependency>& dependencies) {
  Kahn kahn(contract, nodes, dependencies, Kahn::kOrdered);
  return kahn.complete() ? kahn.order() : std::vector<std::string>{};
}

bool is_acyclic(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                const std::vector<model::PlanDependency>& dependencies) {
  return dependencies.empty() || Kahn(contract, nodes, dependencies, Kahn::kUnordered).complete();
}

const model::PlanDependency* first_edge_left_in_cycle(const vorn::model::TransformationContract& contract,
                                                      const std::vector<model::PlanNode>& nodes,
                                                      const std::vector<model::PlanDependency>& dependencies) {
  if (dependencies.empty()) return nullptr;
  Kahn kahn(contract, nodes, dependencies, Kahn::kUnordered);
  if (kahn.complete()) return nullptr;
  for (const auto& d : dependencies) {
    if (!kahn.removed(d.from) && !kahn.removed(d.to)) return &d;
  }
  return nullptr;
}

}  // namespace vorn::plan::graph
