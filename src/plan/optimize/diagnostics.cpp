#include "plan/optimize/diagnostics.h"

#include "validation/context.h"

namespace vorn::plan::optimize {
namespace {

using diagnostics::Code;
using diagnostics::DiagnosticSeverity;

struct Row {
  Code code;
  DiagnosticSeverity severity;
  std::string_view message;
  std::string_view object_ref;  // empty: the node's own path
};

constexpr Row kRows[] = {
    {Code::InvalidOptimization, DiagnosticSeverity::Error, "input plan failed validation", "plan"},
    {Code::OptimizationSkipped, DiagnosticSeverity::Information,
     "skipped expression rewrite for node '{}' due to type guard", ""},
    {Code::OptimizationSkipped, DiagnosticSeverity::Information,
     "skipped function rewrite for node '{}' due to type guard", ""},
    {Code::InvalidOptimization, DiagnosticSeverity::Error, "failed to rebuild dependency graph after optimization",
     "dependencies"},
    {Code::InvalidOptimization, DiagnosticSeverity::Error, "optimized plan failed validation", "plan"},
};

}  // namespace

diagnostics::Diagnostic report(Problem problem, std::string_view node_id, std::string object_ref) {
  const Row& row = kRows[static_cast<int>(problem)];
  return diagnostics::Diagnostic::make(row.code, row.severity, diagnostics::DiagnosticStage::Optimization,
                                       diagnostics::DiagnosticCategory::Semantic,
                                       validation::context::render(row.message, node_id))
      .with_object_ref(row.object_ref.empty() ? std::move(object_ref) : std::string(row.object_ref));
}

}  // namespace vorn::plan::optimize
