#pragma once
// One directed edge of a plan: `from` comes before `to`, for a reason.

#include <cstdint>
#include <string>
#include <string_view>

#include "parser/record_spec.h"

namespace vorn::plan::model {

// The order of the values is the tie-break of the dependency sort.
enum class DependencyReason : std::uint8_t {
  Lineage,
  FieldRead,
  FieldWrite,
  ExplicitOrder,
  RulePhase,
  InterfaceCondition,
};

std::string_view to_string(DependencyReason reason);

struct PlanDependency {
  std::string from;  // a node, input or output id
  std::string to;
  DependencyReason reason = DependencyReason::Lineage;

  bool operator==(const PlanDependency&) const = default;
  static const parser::RecordSpec<PlanDependency>& spec();
};

}  // namespace vorn::plan::model
