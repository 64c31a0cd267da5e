#pragma once
// Which vertices provide the value a target names: the input of an input
// field, the last writer of an output field, or the inputs the lineage maps
// to an output. Built once per graph, so every question is answered in time
// proportional to its answer.

#include <string>
#include <string_view>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/contract.h"
#include "plan/model/node.h"
#include "validation/field_index.h"

namespace vorn::plan::graph {

// The action ids of the contract's explicit ordering; nullptr when it has
// none (no semantics block, no ordering, or mode unordered).
const std::vector<std::string>* explicit_order(const vorn::model::TransformationContract& contract);

class Sources {
 public:
  // All three are only read and must outlive this object.
  Sources(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
          const validation::field_index::FieldIndex& fields);

  // The vertex texts that provide the value of `target`, in order.
  std::vector<std::string_view> for_target(std::string_view target) const;

  // The inputs of the first lineage mapping of `output`; empty when no
  // mapping names it (or there is no lineage block).
  std::vector<std::string_view> lineage_inputs(std::string_view output) const;

 private:
  std::vector<std::string_view> for_output_field(std::string_view target, std::string_view output) const;

  const validation::field_index::FieldIndex& fields_;
  std::unordered_set<std::string_view> input_ids_;
  bool ordered_ = false;
  std::unordered_map<std::string_view, const vorn::model::LineageMapping*> first_mapping_;
  // Per target text: its writers in node order, and (with an explicit
  // ordering) the one listed last, or empty when none of them is listed.
  struct Writers {
    std::vector<std::string_view> ids;
    std::optional<std::string_view> listed_last;
  };
  std::unordered_map<std::string_view, Writers> writers_;
};

}  // namespace vorn::plan::graph
