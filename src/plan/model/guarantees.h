#pragma once
// What a plan promises around its run: the semantics block and the rules
// its interfaces name as preconditions and postconditions.

#include <optional>
#include <string>
#include <vector>

#include "model/semantics.h"
#include "parser/record_spec.h"

namespace vorn::plan::model {

// One interface condition: the interface that declares it and its rule.
struct InterfaceConditionRef {
  std::string interface_id;
  bool is_input = false;  // false: an output postcondition
  std::string rule_id;

  bool operator==(const InterfaceConditionRef&) const = default;
  static const parser::RecordSpec<InterfaceConditionRef>& spec();
};

struct PlanGuarantees {
  std::optional<vorn::model::TransformationSemantics> semantics;
  std::vector<InterfaceConditionRef> input_preconditions;
  std::vector<InterfaceConditionRef> output_postconditions;

  bool operator==(const PlanGuarantees&) const = default;
  static const parser::RecordSpec<PlanGuarantees>& spec();
};

}  // namespace vorn::plan::model
