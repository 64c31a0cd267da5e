#include "plan/validate/validate.h"

#include <string_view>
#include <unordered_set>

#include "analysis/expr/check.h"
#include "plan/graph/topological_order.h"
#include "plan/planning_error.h"
#include "plan/validate/plan_as_contract.h"

namespace vorn::plan::validate {
namespace {

using diagnostics::Code;
using diagnostics::Diagnostic;
using validation::context::DiagnosticRow;
using validation::context::render;
using validation::field_index::TargetResolution;
using Ids = std::unordered_set<std::string_view>;

constexpr auto kStructure = diagnostics::DiagnosticCategory::Structure;
constexpr auto kReference = diagnostics::DiagnosticCategory::Reference;

enum Row {
  kNoInputs,
  kNoOutputs,
  kDuplicateNode,
  kUnknownSource,
  kUnknownTarget,
  kCycle,
  kNoLineage,
  kUncoveredOutput,
  kLineageOutput,
  kLineageInput,
  kActionTarget,
  kTypeMismatch,
  kRuleTarget,
  kPrecondition,
  kPostcondition,
};

constexpr DiagnosticRow kRows[] = {
    {Code::IncompletePlan, kStructure, "plan is missing inputs", "inputs", ""},
    {Code::IncompletePlan, kStructure, "plan is missing outputs", "outputs", ""},
    {Code::InvalidPlan, kStructure, "duplicate plan node id '{}'", "{}", ""},
    {Code::UnresolvedPlanReference, kReference, "dependency source '{}' is not a known node or interface",
     "dependencies[{}].from", ""},
    {Code::UnresolvedPlanReference, kReference, "dependency target '{}' is not a known node or interface",
     "dependencies[{}].to", ""},
    {Code::CyclicDependency, diagnostics::DiagnosticCategory::Semantic, "plan dependency graph contains a cycle",
     "dependencies", ""},
    {Code::IncompletePlan, kStructure, "output '{}' has no lineage mapping", "lineage", ""},
    {Code::IncompletePlan, kStructure, "output '{}' is not covered by lineage mappings", "lineage.mappings", ""},
    {Code::UnresolvedPlanReference, kReference, "lineage references unknown output '{}'", "lineage.mappings", ""},
    {Code::UnresolvedPlanReference, kReference, "lineage references unknown input '{}'", "lineage.mappings", ""},
    {Code::UnresolvedPlanReference, kReference, "semantic action target '{}' could not be resolved", "{}", ""},
    {Code::PlanTypeMismatch, diagnostics::DiagnosticCategory::Type,
     "expression declared type '{}' does not match inferred type", "{}", ""},
    {Code::UnresolvedPlanReference, kReference, "rule target '{}' could not be resolved", "{}", ""},
    {Code::UnresolvedPlanReference, kReference, "input precondition references unknown rule '{}'",
     "inputs.{}.preconditions", ""},
    {Code::UnresolvedPlanReference, kReference, "output postcondition references unknown rule '{}'",
     "outputs.{}.postconditions", ""},
};

template <class Ref = std::string_view>
Diagnostic report(Row id, std::string_view text = {}, const Ref& ref = {}) {
  const DiagnosticRow& row = kRows[id];
  return planning_error(row, render(row.message, text), render(row.object_ref, ref));
}

class Checks {
 public:
  Checks(const model::TransformationPlan& plan, std::vector<Diagnostic>& out) : plan_(plan), out_(out) {
    for (const auto& input : plan.inputs) inputs_.insert(input.id);
    for (const auto& output : plan.outputs) outputs_.insert(output.id);
    for (const auto& node : plan.nodes) nodes_.insert(node.id);
  }

  void interfaces() {
    if (plan_.inputs.empty()) out_.push_back(report(kNoInputs));
    if (plan_.outputs.empty()) out_.push_back(report(kNoOutputs));
  }

  void node_ids() {
    Ids seen;
    for (const auto& node : plan_.nodes) {
      if (!seen.insert(node.id).second) out_.push_back(report(kDuplicateNode, node.id, node.object_ref));
    }
  }

  void dependency_ends() {
    for (std::size_t i = 0; i < plan_.dependencies.size(); ++i) {
      const auto& d = plan_.dependencies[i];
      if (!known(d.from)) out_.push_back(report(kUnknownSource, d.from, i));
      if (!known(d.to)) out_.push_back(report(kUnknownTarget, d.to, i));
    }
  }

  void lineage() {
    if (!plan_.lineage) {
      for (const auto& output : plan_.outputs) out_.push_back(report(kNoLineage, output.id));
      return;
    }
    Ids mapped;
    for (const auto& mapping : plan_.lineage->mappings) mapped.insert(mapping.output);
    for (const auto& output : plan_.outputs) {
      if (!mapped.contains(output.id)) out_.push_back(report(kUncoveredOutput, output.id));
    }
    for (const auto& mapping : plan_.lineage->mappings) {
      if (!outputs_.contains(mapping.output)) out_.push_back(report(kLineageOutput, mapping.output));
      for (const auto& input : mapping.inputs) {
        if (!inputs_.contains(input)) out_.push_back(report(kLineageInput, input));
      }
    }
  }

  void conditions() {
    for (const auto& c : plan_.guarantees.input_preconditions) {
      if (!nodes_.contains(c.rule_id)) out_.push_back(report(kPrecondition, c.rule_id, c.interface_id));
    }
    for (const auto& c : plan_.guarantees.output_postconditions) {
      if (!nodes_.contains(c.rule_id)) out_.push_back(report(kPostcondition, c.rule_id, c.interface_id));
    }
  }

 private:
  bool known(std::string_view id) const {
    return inputs_.contains(id) || outputs_.contains(id) || nodes_.contains(id);
  }

  const model::TransformationPlan& plan_;
  std::vector<Diagnostic>& out_;
  Ids inputs_, outputs_, nodes_;
};

bool unresolved(const analysis::expr::ExpressionScope& scope, std::string_view target) {
  return scope.fields.resolve(target).get_if<TargetResolution::Unresolved>() != nullptr;
}

// The declared type, when it parses, against the type the check inferred.
bool type_mismatch(const vorn::model::Expression& expression, const analysis::expr::ExpressionAnalysis& checked) {
  if (!expression.type || !checked.logical_type) return false;
  auto declared = vorn::model::types::parse_logical_type(*expression.type);
  return declared && !(declared.value() == *checked.logical_type);
}

void check_nodes(const model::TransformationPlan& plan, const analysis::expr::ExpressionScope& scope,
                 const vorn::model::registry::RegistryDocument& registry, std::vector<Diagnostic>& out) {
  for (const model::PlanNode& node : plan.nodes) {
    if (const auto* action = node.kind.get_if<vorn::model::SemanticAction>()) {
      if (unresolved(scope, action->target)) out.push_back(report(kActionTarget, action->target, node.object_ref));
    } else if (const auto* expression = node.kind.get_if<vorn::model::Expression>()) {
      analysis::expr::ExpressionAnalysis checked = analysis::expr::check_expression(scope, *expression, registry);
      for (Diagnostic& d : checked.diagnostics) out.push_back(std::move(d));
      if (type_mismatch(*expression, checked))
        out.push_back(report(kTypeMismatch, *expression->type, node.object_ref));
    } else if (const auto* rule = node.kind.get_if<vorn::model::Rule>()) {
      if (unresolved(scope, rule->target)) out.push_back(report(kRuleTarget, rule->target, node.object_ref));
    }
  }
}

}  // namespace

std::vector<Diagnostic> validate_with_registry(const model::TransformationPlan& plan,
                                               const vorn::model::registry::RegistryDocument& registry) {
  std::vector<Diagnostic> out;
  // The checks read the node records from the nodes themselves.
  vorn::model::TransformationContract view = plan_interfaces_as_contract(plan);
  Checks checks(plan, out);
  checks.interfaces();
  checks.node_ids();
  checks.dependency_ends();
  if (!graph::is_acyclic(view, plan.nodes, plan.dependencies)) out.push_back(report(kCycle));
  checks.lineage();
  check_nodes(plan, analysis::expr::ExpressionScope::from_contract(view), registry, out);
  checks.conditions();
  return out;
}

}  // namespace vorn::plan::validate
