#pragma once
// The phases of the rules that interface conditions name.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::interfaces {

void validate_condition_rule_phases(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::interfaces
