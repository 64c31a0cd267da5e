#pragma once
// Functions and expressions, typed against the registry.

#include "model/contract.h"
#include "model/registry/registry.h"
#include "validation/context.h"

namespace vorn::validation::expressions {

void validate_expressions(ValidationContext& ctx, const model::TransformationContract& contract,
                          const model::registry::RegistryDocument& registry);

}  // namespace vorn::validation::expressions
