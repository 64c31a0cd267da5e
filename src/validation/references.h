#pragma once
// Lineage, then the registry identifiers and targets that objects refer to.
// Whether the registry knows an identifier is left to the semantic checks.

#include <string_view>

#include "model/contract.h"
#include "validation/context.h"
#include "validation/field_index.h"

namespace vorn::validation::references {

void validate_references(ValidationContext& ctx, const model::TransformationContract& contract);

// Reports a target that is not exactly one schema field, at `object_path`.
void resolve_target(ValidationContext& ctx, std::string_view target, std::string_view object_path,
                    const field_index::FieldIndex& index);

}  // namespace vorn::validation::references
