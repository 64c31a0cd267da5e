#pragma once
// Lineage: every declared output mapped, once, to declared inputs.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::lineage {

// A contract without outputs has nothing to map, whatever its lineage holds.
void validate_lineage(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::lineage
