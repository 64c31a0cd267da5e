#pragma once
// An execution order of every vertex of a plan (the ids of the contract's
// inputs and outputs and of the plan nodes), by Kahn's algorithm with a
// first-in first-out queue.

#include <string>
#include <vector>

#include "model/contract.h"
#include "plan/model/dependency.h"
#include "plan/model/node.h"

namespace vorn::plan::graph {

// Ready vertices start in ascending order; each vertex taken frees its
// successors in ascending order, and they join the back of the queue.
// Dependencies with an end that is no vertex are ignored. Empty when the
// dependencies hold a cycle.
std::vector<std::string> topological_order(const vorn::model::TransformationContract& contract,
                                           const std::vector<model::PlanNode>& nodes,
                                           const std::vector<model::PlanDependency>& dependencies);

// True for an empty dependency list; otherwise whether the order holds every
// distinct vertex.
bool is_acyclic(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                const std::vector<model::PlanDependency>& dependencies);

// The first dependency, in list order, whose two ends are both vertices that
// Kahn's algorithm cannot remove: an edge on a cycle or downstream of one.
// Nullptr when there is no cycle.
const model::PlanDependency* first_edge_left_in_cycle(const vorn::model::TransformationContract& contract,
                                                      const std::vector<model::PlanNode>& nodes,
                                                      const std::vector<model::PlanDependency>& dependencies);

}  // namespace vorn::plan::graph
