#include "plan/validate/plan_as_contract.h"

#include <variant>

namespace vorn::plan::validate {

vorn::model::TransformationContract plan_interfaces_as_contract(const model::TransformationPlan& plan) {
  vorn::model::TransformationContract c;
  c.vorn_version = plan.identity.vorn_version;
  c.id = plan.identity.id;
  c.name = plan.identity.name;
  c.version = plan.identity.version;
  c.inputs = plan.inputs;
  c.outputs = plan.outputs;
  c.functions = plan.functions;
  c.lineage = plan.lineage;
  c.metadata = plan.metadata;
  c.versioning = plan.versioning;
  c.extensions = plan.extensions;
  c.semantics = plan.guarantees.semantics;
  return c;
}

vorn::model::TransformationContract plan_as_contract(const model::TransformationPlan& plan) {
  vorn::model::TransformationContract c = plan_interfaces_as_contract(plan);
  // Reserved up front: the records are copied, not moved, when a list grows.
  std::size_t counts[3] = {};
  for (const model::PlanNode& node : plan.nodes) ++counts[node.kind.value.index()];
  c.semantic_actions.reserve(counts[0]);
  c.expressions.reserve(counts[1]);
  c.rules.reserve(counts[2]);
  for (const model::PlanNode& node : plan.nodes) {
    std::visit(
        [&](const auto& record) {
          using R = std::decay_t<decltype(record)>;
          if constexpr (std::is_same_v<R, vorn::model::SemanticAction>) c.semantic_actions.push_back(record);
          if constexpr (std::is_same_v<R, vorn::model::Expression>) c.expressions.push_back(record);
          if constexpr (std::is_same_v<R, vorn::model::Rule>) c.rules.push_back(record);
        },
        node.kind.value);
  }
  return c;
}

}  // namespace vorn::plan::validate
