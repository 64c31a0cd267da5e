#include "diagnostics/diagnostic.h"

#include <algorithm>

namespace vorn::diagnostics {

std::string_view to_string(DiagnosticSeverity s) {
  static constexpr std::string_view kNames[] = {"information", "warning", "error"};
  return kNames[static_cast<std::size_t>(s)];
}

std::string_view to_string(DiagnosticStage s) {
  static constexpr std::string_view kNames[] = {
      "parse", "canonicalObjectModel", "validation", "analysis",
      "planning", "optimization", "compilation", "runtime"};
  return kNames[static_cast<std::size_t>(s)];
}

std::string_view to_string(DiagnosticCategory c) {
  static constexpr std::string_view kNames[] = {
      "syntax", "structure", "type", "reference", "semantic",
      "compatibility", "capability", "runtime", "extension"};
  return kNames[static_cast<std::size_t>(c)];
}

Diagnostic Diagnostic::make(std::string_view code, DiagnosticSeverity severity,
                            DiagnosticStage stage, DiagnosticCategory category,
                            std::string message) {
  Diagnostic d;
  d.id = std::string(code);
  d.severity = severity;
  d.stage = stage;
  d.category = category;
  d.message = std::move(message);
  return d;
}

Diagnostic Diagnostic::with_object_ref(std::string ref) && {
  object_ref = std::move(ref);
  return std::move(*this);
}

Diagnostic Diagnostic::with_remediation(std::string text) && {
  remediation = std::move(text);
  return std::move(*this);
}

void Diagnostic::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("id");
  w.string(id);
  w.key("severity");
  w.string(to_string(severity));
  w.key("stage");
  w.string(to_string(stage));
  w.key("category");
  w.string(to_string(category));
  w.key("message");
  w.string(message);
  if (object_ref) {
    w.key("objectRef");
    w.string(*object_ref);
  }
  if (remediation) {
    w.key("remediation");
    w.string(*remediation);
  }
  w.end_object();
}

bool has_error(const std::vector<Diagnostic>& diagnostics) {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& d) { return d.is_error(); });
}

}  // namespace vorn::diagnostics
