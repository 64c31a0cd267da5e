#pragma once
// The steps of a contract's plan: one node per semantic action, expression
// and rule, each holding a full copy of its record.

#include <vector>

#include "model/contract.h"
#include "plan/model/node.h"

namespace vorn::plan::lowering {

// Sorted by id (byte order); equal ids keep actions before expressions
// before rules, each in document order.
std::vector<model::PlanNode> make_nodes(const vorn::model::TransformationContract& contract);

}  // namespace vorn::plan::lowering
