#pragma once
// The dependency list while the graph is built: edges in the order they are
// found, never one from a vertex to itself, never two equal ones. Equal
// edges are found through a hash set, so building stays linear in the
// number of edges.

#include <cstddef>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "plan/model/dependency.h"

namespace vorn::plan::graph {

class EdgeList {
 public:
  EdgeList() : seen_(0, Hash{&edges_}, Equal{&edges_}) {}
  // The set's functors point at this object's own list.
  EdgeList(const EdgeList&) = delete;
  EdgeList& operator=(const EdgeList&) = delete;

  // Appends the edge unless `from` equals `to` or the same edge (all three
  // fields) is already recorded.
  void push_edge(std::string_view from, std::string_view to, model::DependencyReason reason);

  const std::vector<model::PlanDependency>& edges() const { return edges_; }
  std::vector<model::PlanDependency> take() { return std::move(edges_); }

 private:
  struct Key {
    std::string_view from;
    std::string_view to;
    model::DependencyReason reason;
  };
  // The set holds indices into the list; lookups may also use a Key.
  struct Hash {
    using is_transparent = void;
    const std::vector<model::PlanDependency>* edges;
    std::size_t operator()(const Key& key) const;
    std::size_t operator()(std::size_t i) const;
  };
  struct Equal {
    using is_transparent = void;
    const std::vector<model::PlanDependency>* edges;
    Key key(const Key& k) const { return k; }
    Key key(std::size_t i) const;
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      Key x = key(a), y = key(b);
      return x.reason == y.reason && x.from == y.from && x.to == y.to;
    }
  };

  std::vector<model::PlanDependency> edges_;
  std::unordered_set<std::size_t, Hash, Equal> seen_;
};

}  // namespace vorn::plan::graph
