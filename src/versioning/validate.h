#pragma once
// The contract's own version and its compatibility policy. Runs inside the
// validation driver and on its own (version_validate), so it returns its
// list rather than writing to a validation context.

#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/contract.h"

namespace vorn::versioning::validate {

std::vector<diagnostics::Diagnostic> validate(const model::TransformationContract& contract);

}  // namespace vorn::versioning::validate
