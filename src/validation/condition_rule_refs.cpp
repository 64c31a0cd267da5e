#include "validation/condition_rule_refs.h"

#include <string_view>
#include <unordered_set>

#include "support/unicode.h"

namespace vorn::validation::interfaces {
namespace {

using context::DiagnosticRow;
using context::render;
using diagnostics::Code;

constexpr auto kReference = diagnostics::DiagnosticCategory::Reference;

enum Row { kBlankPrecondition, kUnknownPrecondition, kBlankPostcondition, kUnknownPostcondition };

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidInterface, kReference, "precondition rule reference is required",
     "inputs.{}.preconditions[{}].rule", "Reference a rule instance id from rules[]"},
    {Code::UnresolvedReference, kReference, "precondition references unknown rule '{}'",
     "inputs.{}.preconditions[{}].rule", "Declare the rule in rules[] or fix the reference"},
    {Code::InvalidInterface, kReference, "postcondition rule reference is required",
     "outputs.{}.postconditions[{}].rule", "Reference a rule instance id from rules[]"},
    {Code::UnresolvedReference, kReference, "postcondition references unknown rule '{}'",
     "outputs.{}.postconditions[{}].rule", "Declare the rule in rules[] or fix the reference"},
};

using RuleIds = std::unordered_set<std::string_view>;

// References are trimmed; rule ids are matched as written.
void check_conditions(ValidationContext& ctx, const std::vector<model::InterfaceCondition>& conditions,
                      std::string_view interface_id, const RuleIds& rule_ids, Row blank, Row unknown) {
  for (std::size_t i = 0; i < conditions.size(); ++i) {
    std::string_view reference = trim_white_space(conditions[i].rule);
    Row id = reference.empty() ? blank : unknown;
    if (id == unknown && rule_ids.contains(reference)) continue;
    const DiagnosticRow& row = kRows[id];
    ctx.report(row, render(row.message, reference), render(row.object_ref, interface_id, i));
  }
}

}  // namespace

void validate_condition_rule_refs(ValidationContext& ctx, const model::TransformationContract& contract) {
  RuleIds rule_ids;
  rule_ids.reserve(contract.rules.size());
  for (const model::Rule& rule : contract.rules) rule_ids.insert(rule.id);
  for (const model::Input& input : contract.inputs)
    check_conditions(ctx, input.preconditions, input.id, rule_ids, kBlankPrecondition, kUnknownPrecondition);
  for (const model::Output& output : contract.outputs)
    check_conditions(ctx, output.postconditions, output.id, rule_ids, kBlankPostcondition,
                     kUnknownPostcondition);
}

}  // namespace vorn::validation::interfaces
