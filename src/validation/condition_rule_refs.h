#pragma once
// The rules that interface pre- and postconditions name.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::interfaces {

void validate_condition_rule_refs(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::interfaces
