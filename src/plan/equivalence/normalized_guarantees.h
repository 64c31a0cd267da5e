#pragma once
// A plan's guarantees with the explicit action ordering told by what the
// actions do rather than by their ids.

#include "plan/model/guarantees.h"
#include "plan/model/plan.h"

namespace vorn::plan::equivalence {

// A copy of the guarantees. An explicit ordering's ids become "action@target"
// of the semantic-action node with that id (the later node when two share
// it); ids naming no such node are dropped, and so is an entry of an
// idempotent action equal to the entry before it.
model::PlanGuarantees normalized_guarantees(const model::TransformationPlan& plan);

}  // namespace vorn::plan::equivalence
