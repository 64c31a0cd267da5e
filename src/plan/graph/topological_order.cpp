#include "plan/graph/topological_order.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace vorn::plan::graph {
namespace {

using Vertex = std::uint32_t;

// One run of Kahn's algorithm over the distinct vertices.
class Kahn {
 public:
  Kahn(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
       const std::vector<model::PlanDependency>& dependencies) {
    for (const auto& input : contract.inputs) add_vertex(input.id);
    for (const auto& output : contract.outputs) add_vertex(output.id);
    for (const auto& node : nodes) add_vertex(node.id);
    rank_vertices();
    successors_.resize(names_.size());
    in_degree_.assign(names_.size(), 0);
    removed_.assign(names_.size(), false);
    for (const auto& d : dependencies) {
      auto from = find(d.from), to = find(d.to);
      if (from == kNone || to == kNone) continue;
      successors_[from].push_back(to);
      ++in_degree_[to];
    }
    run();
  }

  bool complete() const { return order_.size() == names_.size(); }
  bool removed(std::string_view id) const {
    Vertex v = find(id);
    return v == kNone || removed_[v];
  }
  std::vector<std::string> order() const {
    std::vector<std::string> out;
    out.reserve(order_.size());
    for (Vertex v : order_) out.emplace_back(names_[v]);
    return out;
  }

 private:
  static constexpr Vertex kNone = UINT32_MAX;

  void add_vertex(std::string_view id) {
    if (index_.try_emplace(id, static_cast<Vertex>(names_.size())).second) names_.push_back(id);
  }
  Vertex find(std::string_view id) const {
    auto it = index_.find(id);
    return it == index_.end() ? kNone : it->second;
  }
  // Ascending byte order, computed once so that every later sort compares
  // integers.
  void rank_vertices() {
    std::vector<Vertex> sorted(names_.size());
    std::iota(sorted.begin(), sorted.end(), Vertex{0});
    std::sort(sorted.begin(), sorted.end(), [&](Vertex a, Vertex b) { return names_[a] < names_[b]; });
    rank_.resize(names_.size());
    for (Vertex r = 0; r < sorted.size(); ++r) rank_[sorted[r]] = r;
    by_rank_ = std::move(sorted);
  }
  void sort_by_rank(std::vector<Vertex>& vertices) const {
    std::sort(vertices.begin(), vertices.end(), [&](Vertex a, Vertex b) { return rank_[a] < rank_[b]; });
  }

  void run() {
    std::deque<Vertex> queue;
    for (Vertex v : by_rank_) {
      if (in_degree_[v] == 0) queue.push_back(v);
    }
    while (!queue.empty()) {
      Vertex v = queue.front();
      queue.pop_front();
      order_.push_back(v);
      removed_[v] = true;
      std::vector<Vertex>& next = successors_[v];
      sort_by_rank(next);
      for (Vertex s : next) {
        if (--in_degree_[s] == 0) queue.push_back(s);
      }
    }
  }

  std::unordered_map<std::string_view, Vertex> index_;
  std::vector<std::string_view> names_;
  std::vector<Vertex> rank_;
  std::vector<Vertex> by_rank_;
  std::vector<std::vector<Vertex>> successors_;
  std::vector<std::uint32_t> in_degree_;
  std::vector<bool> removed_;
  std::vector<Vertex> order_;
};

}  // namespace

std::vector<std::string> topological_order(const vorn::model::TransformationContract& contract,
                                           const std::vector<model::PlanNode>& nodes,
                                           const std::vector<model::PlanDependency>& dependencies) {
  Kahn kahn(contract, nodes, dependencies);
  return kahn.complete() ? kahn.order() : std::vector<std::string>{};
}

bool is_acyclic(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                const std::vector<model::PlanDependency>& dependencies) {
  return dependencies.empty() || Kahn(contract, nodes, dependencies).complete();
}

const model::PlanDependency* first_edge_left_in_cycle(const vorn::model::TransformationContract& contract,
                                                      const std::vector<model::PlanNode>& nodes,
                                                      const std::vector<model::PlanDependency>& dependencies) {
  if (dependencies.empty()) return nullptr;
  Kahn kahn(contract, nodes, dependencies);
  if (kahn.complete()) return nullptr;
  for (const auto& d : dependencies) {
    if (!kahn.removed(d.from) && !kahn.removed(d.to)) return &d;
  }
  return nullptr;
}

}  // namespace vorn::plan::graph
