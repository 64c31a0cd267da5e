#pragma once
// The contract's own extension keys.

#include "model/contract.h"
#include "model/registry/registry.h"
#include "validation/context.h"

namespace vorn::validation::extensions {

void validate_extensions(ValidationContext& ctx, const model::TransformationContract& contract,
                         const model::registry::RegistryDocument& registry);

}  // namespace vorn::validation::extensions
