#include "plan/graph/edge_list.h"

#include <functional>
#include <string>

namespace vorn::plan::graph {

std::size_t EdgeList::Hash::operator()(const Key& key) const {
  std::hash<std::string_view> hash;
  std::size_t h = hash(key.from);
  h ^= hash(key.to) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  return h ^ (static_cast<std::size_t>(key.reason) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

std::size_t EdgeList::Hash::operator()(std::size_t i) const {
  const model::PlanDependency& e = (*edges)[i];
  return (*this)(Key{e.from, e.to, e.reason});
}

EdgeList::Key EdgeList::Equal::key(std::size_t i) const {
  const model::PlanDependency& e = (*edges)[i];
  return Key{e.from, e.to, e.reason};
}

void EdgeList::push_edge(std::string_view from, std::string_view to, model::DependencyReason reason) {
  if (from == to || seen_.find(Key{from, to, reason}) != seen_.end()) return;
  edges_.push_back(model::PlanDependency{std::string(from), std::string(to), reason});
  seen_.insert(edges_.size() - 1);
}

}  // namespace vorn::plan::graph
