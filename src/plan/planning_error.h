#pragma once
// Every diagnostic of plan building, lowering and plan validation is an
// error of the planning stage, made from one row of its check's table.

#include <string>

#include "diagnostics/diagnostic.h"
#include "validation/context.h"

namespace vorn::plan {

// The row's code and category with the filled message and object path; the
// row's remediation, when it has one, holds no placeholder.
inline diagnostics::Diagnostic planning_error(const validation::context::DiagnosticRow& row, std::string message,
                                              std::string object_ref) {
  using namespace diagnostics;
  Diagnostic d = Diagnostic::make(row.code, DiagnosticSeverity::Error, DiagnosticStage::Planning, row.category,
                                  std::move(message))
                     .with_object_ref(std::move(object_ref));
  if (!row.remediation.empty()) d = std::move(d).with_remediation(std::string(row.remediation));
  return d;
}

}  // namespace vorn::plan
