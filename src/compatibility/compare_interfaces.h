#pragma once
// The interface part of a contract comparison: inputs and outputs, their
// optionality, streaming, conditions and schemas.

#include "compatibility/compare.h"

namespace vorn::compatibility::compare {

// Inputs and outputs under the interfaces flag, their schemas under the
// types flag.
void compare_interfaces(const model::TransformationContract& source, const model::TransformationContract& target,
                        types::ComparisonScope scope, ComparisonOutcome& outcome);

}  // namespace vorn::compatibility::compare
