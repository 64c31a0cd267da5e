#pragma once
// What optimization gives back: the optimized plan unless a step failed, the
// diagnostics found on the way, and one record per change made.

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "plan/model/plan.h"

namespace vorn::plan::optimize {

// One change: which pass made it, to which node, and what was done.
struct TransformRecord {
  std::string pass;  // "expression", "function", "action", "rule", "deadExpression"
  std::string node_id;
  std::string description;

  bool operator==(const TransformRecord&) const = default;
  void serialize(JsonWriter& w) const;
};

struct OptimizeResult {
  std::optional<model::TransformationPlan> plan;
  std::vector<diagnostics::Diagnostic> diagnostics;
  std::vector<TransformRecord> transforms;  // in the order the changes were made

  // {"plan":{...},"diagnostics":[...],"transforms":[...]}: `plan` only when
  // present, `transforms` only when not empty.
  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::plan::optimize
