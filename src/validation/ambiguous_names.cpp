#include "validation/ambiguous_names.h"

#include <algorithm>

namespace vorn::validation::lineage {
namespace {

using context::DiagnosticRow;
using diagnostics::Code;

constexpr DiagnosticRow kAmbiguousFieldName = {
    Code::AmbiguousReference, diagnostics::DiagnosticCategory::Structure,
    "field name '{0}' is declared in multiple interfaces; use qualified targets such as interface.{0}", "{}",
    "Qualify field references with the interface identifier"};

}  // namespace

void warn_ambiguous_field_names(ValidationContext& ctx, const field_index::FieldIndex& index) {
  std::vector<std::string_view> names = index.ambiguous_field_names();
  std::sort(names.begin(), names.end());
  const DiagnosticRow& row = kAmbiguousFieldName;
  for (std::string_view name : names) {
    ctx.push(diagnostics::Diagnostic::make(row.code, diagnostics::DiagnosticSeverity::Warning,
                                           diagnostics::DiagnosticStage::Validation, row.category,
                                           context::render(row.message, name))
                 .with_object_ref(context::render(row.object_ref, name))
                 .with_remediation(std::string(row.remediation)));
  }
}

}  // namespace vorn::validation::lineage
