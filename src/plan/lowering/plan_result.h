#pragma once
// What lowering gives back: the plan, unless an error was found, and every
// diagnostic in the order it was found.

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "plan/model/plan.h"

namespace vorn::plan::lowering {

struct PlanResult {
  std::optional<model::TransformationPlan> plan;
  std::vector<diagnostics::Diagnostic> diagnostics;

  // {"plan":{...},"diagnostics":[...]}; `plan` only when present,
  // `diagnostics` always.
  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::plan::lowering
