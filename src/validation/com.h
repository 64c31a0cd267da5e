#pragma once
// Identifiers of the canonical object model must hold no white space.

#include <string_view>

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::com {

// The contract id, then the ids of every input, output, semantic action,
// expression, function and rule, in document order.
void validate_com(ValidationContext& ctx, const model::TransformationContract& contract);

// At most one diagnostic per identifier, at its first White_Space character.
void check_identifier_whitespace(ValidationContext& ctx, std::string_view object_path,
                                 std::string_view identifier);

}  // namespace vorn::validation::com
