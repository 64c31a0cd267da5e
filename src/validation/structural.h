#pragma once
// Structure of the contract: required lists, unique ids, declared fields.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::structural {

void validate_structural(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::structural
