#pragma once
// One step of a plan: a node id, what the node does, and where the record
// it holds sits in the contract.

#include <string>

#include "parser/record_spec.h"
#include "plan/model/node_kind.h"

namespace vorn::plan::model {

struct PlanNode {
  std::string id;
  PlanNodeKind kind;
  std::string object_ref;  // "semanticActions.<id>", "expressions.<id>", "rules.<id>"

  bool operator==(const PlanNode&) const = default;
  static const parser::RecordSpec<PlanNode>& spec();
};

}  // namespace vorn::plan::model
