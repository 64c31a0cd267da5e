#pragma once
// Semantic actions, rules and functions against the registry.

#include "model/contract.h"
#include "model/registry/registry.h"
#include "validation/context.h"

namespace vorn::validation::semantics {

void validate_semantics(ValidationContext& ctx, const model::TransformationContract& contract,
                        const model::registry::RegistryDocument& registry);

}  // namespace vorn::validation::semantics
