#include "validation/context.h"

namespace vorn::validation::context {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCategory;
using diagnostics::DiagnosticSeverity;
using diagnostics::DiagnosticStage;

void ValidationContext::error(std::string_view code, DiagnosticCategory category, std::string message,
                              std::optional<std::string> object_ref,
                              std::optional<std::string> remediation) {
  error_with_stage(code, category, std::move(message), std::move(object_ref), std::move(remediation),
                   DiagnosticStage::Validation);
}

void ValidationContext::error_with_stage(std::string_view code, DiagnosticCategory category,
                                         std::string message, std::optional<std::string> object_ref,
                                         std::optional<std::string> remediation, DiagnosticStage stage) {
  Diagnostic d = Diagnostic::make(code, DiagnosticSeverity::Error, stage, category, std::move(message));
  if (object_ref) d = std::move(d).with_object_ref(std::move(*object_ref));
  if (remediation) d = std::move(d).with_remediation(std::move(*remediation));
  diagnostics.push_back(std::move(d));
}

}  // namespace vorn::validation::context
