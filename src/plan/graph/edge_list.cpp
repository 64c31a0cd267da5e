#include "plan/graph/edge_list.h"

#include <functional>
#include <string>

namespace vorn::plan::graph {
namespace {

std::size_t hash_edge(std::string_view from, std::string_view to, model::DependencyReason reason) {
  std::hash<std::string_view> hash;
  std::size_t h = hash(from);
  h ^= hash(to) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  return h ^ (static_cast<std::size_t>(reason) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

}  // namespace

std::size_t EdgeList::slot_of(std::string_view from, std::string_view to, model::DependencyReason reason,
                              std::size_t hash) const {
  std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    std::uint32_t at = slots_[i];
    if (at == kEmpty) return i;
    const model::PlanDependency& e = edges_[at];
    if (hashes_[at] == hash && e.reason == reason && e.from == from && e.to == to) return i;
  }
}

// Keeps the table at most half full, so that probes stay short.
void EdgeList::grow() {
  slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, kEmpty);
  std::size_t mask = slots_.size() - 1;
  for (std::uint32_t at = 0; at < edges_.size(); ++at) {
    std::size_t i = hashes_[at] & mask;
    while (slots_[i] != kEmpty) i = (i + 1) & mask;
    slots_[i] = at;
  }
}

void EdgeList::push_edge(std::string_view from, std::string_view to, model::DependencyReason reason) {
  if (from == to) return;
  if (2 * (edges_.size() + 1) > slots_.size()) grow();
  std::size_t hash = hash_edge(from, to, reason);
  std::size_t slot = slot_of(from, to, reason, hash);
  if (slots_[slot] != kEmpty) return;
  slots_[slot] = static_cast<std::uint32_t>(edges_.size());
  edges_.push_back(model::PlanDependency{std::string(from), std::string(to), reason});
  hashes_.push_back(hash);
}

}  // namespace vorn::plan::graph
