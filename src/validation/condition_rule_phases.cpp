#include "validation/condition_rule_phases.h"

#include <string_view>
#include <unordered_map>

#include "support/unicode.h"

namespace vorn::validation::interfaces {
namespace {

using context::DiagnosticRow;
using context::render;
using diagnostics::Code;
using model::RulePhase;

constexpr auto kSemantic = diagnostics::DiagnosticCategory::Semantic;

enum Row { kPreconditionPhase, kPostconditionPhase };

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidInterface, kSemantic, "precondition references rule '{}' with phase '{}', expected precondition",
     "inputs.{}.preconditions[{}].rule", "Use a rule with phase: precondition for input preconditions"},
    {Code::InvalidInterface, kSemantic,
     "postcondition references rule '{}' with phase '{}', expected postcondition",
     "outputs.{}.postconditions[{}].rule", "Use a rule with phase: postcondition for output postconditions"},
};

using PhaseById = std::unordered_map<std::string_view, RulePhase>;

// Blank and unknown references are the reference check's to report.
void check_phases(ValidationContext& ctx, const std::vector<model::InterfaceCondition>& conditions,
                  std::string_view interface_id, const PhaseById& phases, RulePhase wanted, Row id) {
  for (std::size_t i = 0; i < conditions.size(); ++i) {
    std::string_view reference = trim_white_space(conditions[i].rule);
    auto it = phases.find(reference);
    if (it == phases.end() || it->second == wanted) continue;
    const DiagnosticRow& row = kRows[id];
    ctx.report(row, render(row.message, reference, model::to_string(it->second)),
                    render(row.object_ref, interface_id, i));
  }
}

}  // namespace

void validate_condition_rule_phases(ValidationContext& ctx, const model::TransformationContract& contract) {
  PhaseById phases;
  phases.reserve(contract.rules.size());
  // A repeated id takes the phase of its last declaration.
  for (const model::Rule& rule : contract.rules) phases[rule.id] = rule.phase;
  for (const model::Input& input : contract.inputs)
    check_phases(ctx, input.preconditions, input.id, phases, RulePhase::Precondition, kPreconditionPhase);
  for (const model::Output& output : contract.outputs)
    check_phases(ctx, output.postconditions, output.id, phases, RulePhase::Postcondition, kPostconditionPhase);
}

}  // namespace vorn::validation::interfaces
