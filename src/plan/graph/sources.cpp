#include "plan/graph/sources.h"

#include <cstddef>

namespace vorn::plan::graph {

using validation::field_index::TargetResolution;
using vorn::model::ActionOrdering;
using vorn::model::SemanticAction;

const std::vector<std::string>* explicit_order(const vorn::model::TransformationContract& contract) {
  if (!contract.semantics || !contract.semantics->ordering) return nullptr;
  const ActionOrdering& ordering = *contract.semantics->ordering;
  return ordering.mode == ActionOrdering::Mode::Explicit ? &ordering.order : nullptr;
}

Sources::Sources(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                 const validation::field_index::FieldIndex& fields)
    : fields_(fields) {
  for (const auto& input : contract.inputs) input_ids_.insert(input.id);
  if (contract.lineage) {
    for (const auto& mapping : contract.lineage->mappings) first_mapping_.try_emplace(mapping.output, &mapping);
  }
  for (const model::PlanNode& node : nodes) {
    if (const auto* action = node.kind.get_if<SemanticAction>()) writers_[action->target].ids.push_back(node.id);
  }
  const std::vector<std::string>* order = explicit_order(contract);
  if (!order) return;
  ordered_ = true;
  // The writer listed last is the one whose last listing comes latest.
  std::unordered_map<std::string_view, std::size_t> last_listed;
  for (std::size_t i = 0; i < order->size(); ++i) last_listed[(*order)[i]] = i + 1;
  for (auto& [target, writers] : writers_) {
    std::size_t latest = 0;
    for (std::string_view id : writers.ids) {
      auto it = last_listed.find(id);
      if (it != last_listed.end() && it->second > latest) {
        latest = it->second;
        writers.listed_last = id;
      }
    }
  }
}

std::vector<std::string_view> Sources::lineage_inputs(std::string_view output) const {
  auto it = first_mapping_.find(output);
  if (it == first_mapping_.end()) return {};
  return {it->second->inputs.begin(), it->second->inputs.end()};
}

std::vector<std::string_view> Sources::for_output_field(std::string_view target, std::string_view output) const {
  auto it = writers_.find(target);
  if (it != writers_.end()) {
    const Writers& w = it->second;
    if (ordered_ && w.listed_last) return {*w.listed_last};
    if (!ordered_ && w.ids.size() == 1) return {w.ids.front()};
  }
  return lineage_inputs(output);
}

std::vector<std::string_view> Sources::for_target(std::string_view target) const {
  TargetResolution resolution = fields_.resolve(target);
  if (const auto* field = resolution.get_if<TargetResolution::Field>()) {
    const auto& location = *field->location;
    if (location.is_input) return {location.interface_id};
    return for_output_field(target, location.interface_id);
  }
  if (const auto* interface = resolution.get_if<TargetResolution::Interface>()) {
    // The resolution's own copy of the id dies with it; the contract's lives on.
    if (interface->is_input) {
      auto it = input_ids_.find(interface->id);
      return it == input_ids_.end() ? std::vector<std::string_view>{} : std::vector<std::string_view>{*it};
    }
    return lineage_inputs(interface->id);
  }
  return {};
}

}  // namespace vorn::plan::graph
