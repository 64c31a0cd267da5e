#pragma once
// The steps of graph building that concern semantic actions sharing work:
// the explicit ordering and its checks, and the chains of actions writing
// one target.

#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/contract.h"
#include "plan/graph/edge_list.h"
#include "plan/model/node.h"

namespace vorn::plan::graph {

// With an explicit ordering: duplicate and unknown entries in list order,
// then the actions it leaves out (ascending by id), then an edge between
// every two consecutive entries. Without one: each target that several
// actions write (ascending), and no edge.
void order_actions(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                   EdgeList& edges, std::vector<diagnostics::Diagnostic>& diagnostics);

// For each target written by several actions (ascending by target): edges
// along the order they write in, the explicit ordering's or ascending ids.
void chain_writers(const vorn::model::TransformationContract& contract, const std::vector<model::PlanNode>& nodes,
                   EdgeList& edges);

}  // namespace vorn::plan::graph
