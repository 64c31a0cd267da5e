#pragma once
// Logical types of interface fields and their declared conversions.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::types {

void validate_types(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::types
