#include "validation/references.h"

#include "support/unicode.h"
#include "validation/lineage.h"

namespace vorn::validation::references {
namespace {

using context::DiagnosticRow;
using context::render;
using diagnostics::Code;
using field_index::TargetResolution;

constexpr auto kReference = diagnostics::DiagnosticCategory::Reference;

enum Row {
  kBlankAction,
  kBlankActionTarget,
  kBlankRule,
  kBlankRuleTarget,
  kBlankFunction,
  kTargetIsInterface,
  kTargetAmbiguous,
  kTargetUndeclared,
};

constexpr DiagnosticRow kRows[] = {
    {Code::MissingRequiredField, kReference, "semantic action registry identifier is required",
     "semanticActions.{}", "Set action to a namespaced semantic action identifier"},
    {Code::MissingRequiredField, kReference, "semantic action target is required", "semanticActions.{}", ""},
    {Code::MissingRequiredField, kReference, "rule registry identifier is required", "rules.{}", ""},
    {Code::MissingRequiredField, kReference, "rule target is required", "rules.{}", ""},
    {Code::MissingRequiredField, kReference, "function registry identifier is required", "functions.{}", ""},
    {Code::UnresolvedReference, kReference, "target '{}' must reference a schema field", "{}",
     "Target a declared schema field or use interface.field syntax"},
    {Code::AmbiguousReference, kReference, "target '{}' matches multiple schema fields", "{}",
     "Qualify the target with an interface identifier"},
    {Code::UnresolvedReference, kReference, "target '{}' is not declared", "{}",
     "Target a declared schema field or interface identifier"},
};

void report_blank(ValidationContext& ctx, Row id, std::string_view object_id) {
  const DiagnosticRow& row = kRows[id];
  ctx.report(row, render(row.message), render(row.object_ref, object_id));
}

// A blank target is reported as missing and never resolved.
void check_target(ValidationContext& ctx, std::string_view target, std::string_view collection,
                  std::string_view object_id, Row blank, const field_index::FieldIndex& index) {
  if (is_blank(target)) return report_blank(ctx, blank, object_id);
  resolve_target(ctx, target, fmt::format("{}.{}.target", collection, object_id), index);
}

}  // namespace

void resolve_target(ValidationContext& ctx, std::string_view target, std::string_view object_path,
                    const field_index::FieldIndex& index) {
  TargetResolution resolution = index.resolve(target);
  Row id;
  if (resolution.get_if<TargetResolution::Field>()) return;
  if (resolution.get_if<TargetResolution::Interface>())
    id = kTargetIsInterface;
  else if (resolution.get_if<TargetResolution::Ambiguous>())
    id = kTargetAmbiguous;
  else
    id = kTargetUndeclared;
  const DiagnosticRow& row = kRows[id];
  ctx.report(row, render(row.message, target), render(row.object_ref, object_path));
}

void validate_references(ValidationContext& ctx, const model::TransformationContract& contract) {
  field_index::FieldIndex index = field_index::FieldIndex::from_contract(contract);
  lineage::validate_lineage(ctx, contract);
  for (const model::SemanticAction& action : contract.semantic_actions) {
    if (is_blank(action.action)) report_blank(ctx, kBlankAction, action.id);
    check_target(ctx, action.target, "semanticActions", action.id, kBlankActionTarget, index);
  }
  for (const model::Rule& rule : contract.rules) {
    if (is_blank(rule.rule)) report_blank(ctx, kBlankRule, rule.id);
    check_target(ctx, rule.target, "rules", rule.id, kBlankRuleTarget, index);
  }
  for (const model::Function& function : contract.functions)
    if (is_blank(function.function)) report_blank(ctx, kBlankFunction, function.id);
}

}  // namespace vorn::validation::references
