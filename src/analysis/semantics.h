#pragma once
// How a contract's semantic actions, semantics block, functions and lineage
// fit together.

#include <string>
#include <vector>

#include "analysis/finding.h"
#include "diagnostics/diagnostic.h"
#include "model/contract.h"
#include "model/registry/registry.h"

namespace vorn::analysis::semantics {

struct SemanticsResult {
  std::vector<diagnostics::Diagnostic> diagnostics;
  std::vector<AnalysisFinding> findings;
};

// Overlapping targets without ordering, the explicit ordering, purity,
// determinism of registry functions, lineage coverage of action targets;
// appended in that order.
SemanticsResult check_semantics(const model::TransformationContract& contract,
                                const model::registry::RegistryDocument& registry);

// A "vorn:invalid-semantics" error of the analysis stage.
diagnostics::Diagnostic analysis_error(std::string message, std::string object_ref, std::string remediation);

}  // namespace vorn::analysis::semantics
