#pragma once
// The contract analysis: every expression declaration checked in order, then
// the semantics checks, gathered into one report.

#include "analysis/report.h"
#include "model/contract.h"
#include "model/registry/registry.h"

namespace vorn::analysis::contract {

// Uses the default registry when none is given.
AnalysisReport check_contract(const model::TransformationContract& contract,
                              const model::registry::RegistryDocument* registry = nullptr);

}  // namespace vorn::analysis::contract
