#include "plan/lowering/lower.h"

#include <optional>
#include <string_view>
#include <unordered_set>

#include "analysis/contract.h"
#include "plan/graph/build.h"
#include "plan/lowering/nodes.h"
#include "plan/planning_error.h"
#include "plan/validate/validate.h"
#include "registry/default_registry.h"

namespace vorn::plan::lowering {
namespace {

using diagnostics::Code;
using diagnostics::Diagnostic;
using model::PlanNode;
using validation::context::DiagnosticRow;
using validation::context::render;
using vorn::model::TransformationContract;

constexpr auto kStructure = diagnostics::DiagnosticCategory::Structure;

enum Row { kNoInputs, kNoOutputs, kUncoveredOutput };

constexpr DiagnosticRow kRows[] = {
    {Code::IncompletePlan, kStructure, "plan requires at least one input", "inputs", ""},
    {Code::IncompletePlan, kStructure, "plan requires at least one output", "outputs", ""},
    {Code::IncompletePlan, kStructure, "output '{}' is not covered by lineage mappings", "lineage.mappings", ""},
};

Diagnostic report(Row id, std::string_view text = {}) {
  const DiagnosticRow& row = kRows[id];
  return planning_error(row, render(row.message, text), std::string(row.object_ref));
}

// What stops lowering before any analysis: no interfaces on one side, or
// (with a lineage block) the first output no mapping covers.
std::optional<Diagnostic> missing_shape(const TransformationContract& c) {
  if (c.inputs.empty()) return report(kNoInputs);
  if (c.outputs.empty()) return report(kNoOutputs);
  if (!c.lineage) return std::nullopt;
  std::unordered_set<std::string_view> mapped;
  for (const auto& mapping : c.lineage->mappings) mapped.insert(mapping.output);
  for (const auto& output : c.outputs) {
    if (!mapped.contains(output.id)) return report(kUncoveredOutput, output.id);
  }
  return std::nullopt;
}

model::PlanGuarantees collect_guarantees(const TransformationContract& c) {
  model::PlanGuarantees g;
  g.semantics = c.semantics;
  for (const auto& input : c.inputs) {
    for (const auto& condition : input.preconditions)
      g.input_preconditions.push_back({input.id, true, condition.rule});
  }
  for (const auto& output : c.outputs) {
    for (const auto& condition : output.postconditions)
      g.output_postconditions.push_back({output.id, false, condition.rule});
  }
  return g;
}

model::TransformationPlan assemble(const TransformationContract& c, std::vector<PlanNode> nodes,
                                   std::vector<model::PlanDependency> dependencies,
                                   std::vector<analysis::AnalysisFinding> findings) {
  model::TransformationPlan plan;
  plan.identity = {c.vorn_version, c.id, c.name, c.version};
  plan.inputs = c.inputs;
  plan.outputs = c.outputs;
  plan.functions = c.functions;
  plan.nodes = std::move(nodes);
  plan.dependencies = std::move(dependencies);
  plan.lineage = c.lineage;
  plan.guarantees = collect_guarantees(c);
  plan.metadata = c.metadata;
  plan.versioning = c.versioning;
  plan.extensions = c.extensions;
  plan.findings = std::move(findings);
  return plan;
}

void append(std::vector<Diagnostic>& to, std::vector<Diagnostic>&& from) {
  to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

}  // namespace

PlanResult lower(const TransformationContract& contract, const vorn::model::registry::RegistryDocument* registry) {
  const auto& chosen = registry ? *registry : registry::default_registry();
  PlanResult result;
  if (auto stop = missing_shape(contract)) {
    result.diagnostics.push_back(std::move(*stop));
    return result;
  }
  analysis::AnalysisReport analysis = analysis::contract::check_contract(contract, &chosen);
  append(result.diagnostics, std::move(analysis.diagnostics));
  std::vector<PlanNode> nodes = make_nodes(contract);
  graph::BuildResult graph = graph::build(contract, nodes, chosen);
  append(result.diagnostics, std::move(graph.diagnostics));
  if (diagnostics::has_error(result.diagnostics)) return result;

  model::TransformationPlan plan =
      assemble(contract, std::move(nodes), std::move(graph.dependencies), std::move(analysis.findings));
  append(result.diagnostics, validate::validate_with_registry(plan, chosen));
  if (!diagnostics::has_error(result.diagnostics)) result.plan = std::move(plan);
  return result;
}

}  // namespace vorn::plan::lowering
