#pragma once
// Lineage, then the identifiers and targets that objects refer to.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::references {

void validate_references(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::references
