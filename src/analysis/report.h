#pragma once
// What the contract analysis found: diagnostics, then informational findings.

#include <string>
#include <vector>

#include "analysis/finding.h"
#include "diagnostics/diagnostic.h"

namespace vorn::analysis {

struct AnalysisReport {
  std::vector<diagnostics::Diagnostic> diagnostics;
  std::vector<AnalysisFinding> findings;

  // {"diagnostics":[...],"findings":[...]}, both always written.
  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::analysis
