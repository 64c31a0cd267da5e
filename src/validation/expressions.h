#pragma once
// Functions and expressions, typed against the registry.

#include <string_view>

#include "model/contract.h"
#include "model/registry/registry.h"
#include "model/types/logical_type.h"
#include "validation/context.h"

namespace vorn::validation::expressions {

// Function declarations first (return type, parameter names, order and
// types), then expression declarations (declared type, body syntax, the
// body's inferred type against the declared one), each in document order.
void validate_expressions(ValidationContext& ctx, const model::TransformationContract& contract,
                          const model::registry::RegistryDocument& registry);

// Why a declared type text does not parse, as a diagnostic at `object_path`.
// Worded for declarations of functions and expressions.
void emit_type_error(ValidationContext& ctx, std::string_view object_path, std::string_view type_text,
                     const model::types::TypeParseError& error);

}  // namespace vorn::validation::expressions
