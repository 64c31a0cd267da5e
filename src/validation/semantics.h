#pragma once
// Semantic actions, rules and functions against the registry: namespaced
// identifiers of the right category whose use fits the entry's definition;
// and a body for every expression.

#include <string_view>

#include "diagnostics/codes.h"
#include "model/contract.h"
#include "model/registry/registry.h"
#include "validation/context.h"
#include "validation/field_index.h"

namespace vorn::validation::semantics {

void validate_semantics(ValidationContext& ctx, const model::TransformationContract& contract,
                        const model::registry::RegistryDocument& registry);

// The one field a target names, or null after reporting at `object_path`
// why there is none; a target naming an interface is reported with `code`.
const field_index::FieldLocation* resolve_field(const field_index::FieldIndex& index, std::string_view target,
                                                std::string_view object_path, ValidationContext& ctx,
                                                diagnostics::Code code);

}  // namespace vorn::validation::semantics
