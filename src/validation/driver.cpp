#include "validation/driver.h"

#include <algorithm>
#include <iterator>

#include "metadata/validate.h"
#include "validation/com.h"
#include "validation/condition_rule_phases.h"
#include "validation/condition_rule_refs.h"
#include "validation/context.h"
#include "validation/document.h"
#include "validation/expressions.h"
#include "validation/extensions.h"
#include "validation/io_extensions.h"
#include "validation/references.h"
#include "validation/semantics.h"
#include "validation/structural.h"
#include "validation/types.h"
#include "versioning/validate.h"

namespace vorn::validation {
namespace {

using context::DiagnosticRow;
using diagnostics::Code;
using diagnostics::DiagnosticCategory;

enum Row { kNoRequiredInput };

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidInterface, DiagnosticCategory::Structure, "at least one input must be required", "inputs",
     "Set optional: false on at least one input or remove optional: true"},
};

// A contract without inputs is left to the structural pass.
void check_required_input(ValidationContext& ctx, const model::TransformationContract& contract) {
  if (contract.inputs.empty()) return;
  bool any_required = std::any_of(contract.inputs.begin(), contract.inputs.end(),
                                  [](const model::Input& input) { return !input.optional; });
  if (any_required) return;
  const DiagnosticRow& row = kRows[kNoRequiredInput];
  ctx.error_with_stage(diagnostics::code_id(row.code), row.category, context::render(row.message),
                       context::render(row.object_ref), context::render_remediation(row),
                       diagnostics::DiagnosticStage::Validation);
}

void append(ValidationContext& ctx, std::vector<diagnostics::Diagnostic> found) {
  ctx.diagnostics.insert(ctx.diagnostics.end(), std::make_move_iterator(found.begin()),
                         std::make_move_iterator(found.end()));
}

}  // namespace

std::vector<diagnostics::Diagnostic> validate_with_registry(
    const model::TransformationContract& contract, const model::registry::RegistryDocument& registry) {
  ValidationContext ctx;
  // Stage 0: document header and version identifiers.
  document::validate_document(ctx, contract);
  append(ctx, versioning::validate::validate(contract));
  // Stage 1: canonical object model.
  com::validate_com(ctx, contract);
  metadata::validate::validate_metadata(ctx, contract);
  // Stage 2: structure.
  structural::validate_structural(ctx, contract);
  check_required_input(ctx, contract);
  // Stage 3: types, then functions and expressions.
  types::validate_types(ctx, contract);
  expressions::validate_expressions(ctx, contract, registry);
  // Stage 4: references, then condition rules.
  references::validate_references(ctx, contract);
  interfaces::validate_condition_rule_refs(ctx, contract);
  // Stage 5: registry semantics, then condition rule phases.
  semantics::validate_semantics(ctx, contract, registry);
  interfaces::validate_condition_rule_phases(ctx, contract);
  // Stage 6: extensions.
  extensions::validate_extensions(ctx, contract, registry);
  interfaces::validate_io_extensions(ctx, contract);
  return std::move(ctx.diagnostics);
}

}  // namespace vorn::validation
