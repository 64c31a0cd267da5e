#pragma once
// The extension keys of inputs and outputs.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::interfaces {

void validate_io_extensions(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::interfaces
