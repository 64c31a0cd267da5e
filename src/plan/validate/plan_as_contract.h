#pragma once
// A plan presented as a contract, so that what works on contracts (the
// field index, the expression check, the graph) works on plans unchanged.

#include "model/contract.h"
#include "plan/model/plan.h"

namespace vorn::plan::validate {

// Identity, interfaces, functions, lineage, metadata, versioning and
// extension entries copied; the records held by the nodes sorted into the
// three lists by kind, each in node order; the guarantees' semantics as the
// semantics block.
vorn::model::TransformationContract plan_as_contract(const model::TransformationPlan& plan);

// The same view without the records the nodes hold: all that the field
// index, the expression scope and the graph's vertex set read of it.
vorn::model::TransformationContract plan_interfaces_as_contract(const model::TransformationPlan& plan);

}  // namespace vorn::plan::validate
