#pragma once
// Contract validation: every pass, in a fixed stage order, into one list.

#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/contract.h"
#include "model/registry/registry.h"

namespace vorn::validation {

// All diagnostics of the contract, in the order they were found. Every pass
// runs whatever earlier passes reported; nothing here fails.
std::vector<diagnostics::Diagnostic> validate_with_registry(
    const model::TransformationContract& contract, const model::registry::RegistryDocument& registry);

}  // namespace vorn::validation
