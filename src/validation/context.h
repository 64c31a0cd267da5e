#pragma once
// The collector every validation pass reports through, and the row shape
// that the passes keep their diagnostics in.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "diagnostics/diagnostic.h"

namespace vorn::validation::context {

// One diagnostic a check can report. The texts are {fmt} templates filled
// at the point of report; an empty remediation means the diagnostic has none.
struct DiagnosticRow {
  diagnostics::Code code;
  diagnostics::DiagnosticCategory category;
  std::string_view message;
  std::string_view object_ref;
  std::string_view remediation;
};

// Fills one template of a row. Templates are fixed tables that the tests
// exercise row by row, so a malformed one cannot reach a caller.
template <class... Args>
std::string render(std::string_view pattern, const Args&... args) {
  return fmt::format(fmt::runtime(pattern), args...);
}

// The row's remediation filled, or nothing when the row has none.
template <class... Args>
std::optional<std::string> render_remediation(const DiagnosticRow& row, const Args&... args) {
  if (row.remediation.empty()) return std::nullopt;
  return render(row.remediation, args...);
}

struct ValidationContext {
  std::vector<diagnostics::Diagnostic> diagnostics;

  // Severity error, stage validation. The message may be borrowed text or an
  // owned, already formatted string.
  void error(std::string_view code, diagnostics::DiagnosticCategory category, std::string message,
             std::optional<std::string> object_ref = std::nullopt,
             std::optional<std::string> remediation = std::nullopt);

  // Severity error with an explicit stage.
  void error_with_stage(std::string_view code, diagnostics::DiagnosticCategory category,
                        std::string message, std::optional<std::string> object_ref,
                        std::optional<std::string> remediation, diagnostics::DiagnosticStage stage);

  // One error of a row, stage validation: the row gives code and category,
  // the caller the filled texts. Without a remediation argument the row's
  // own is used, which then has no placeholders.
  void report(const DiagnosticRow& row, std::string message, std::optional<std::string> object_ref,
              std::optional<std::string> remediation) {
    error(diagnostics::code_id(row.code), row.category, std::move(message), std::move(object_ref),
          std::move(remediation));
  }
  void report(const DiagnosticRow& row, std::string message, std::optional<std::string> object_ref) {
    report(row, std::move(message), std::move(object_ref), render_remediation(row));
  }

  // For records the two operations above cannot express (warnings).
  void push(diagnostics::Diagnostic diagnostic) { diagnostics.push_back(std::move(diagnostic)); }
};

}  // namespace vorn::validation::context

namespace vorn::validation {
using context::ValidationContext;
}  // namespace vorn::validation
