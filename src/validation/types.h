#pragma once
// Logical types of interface fields and their declared conversions.

#include <string_view>

#include "model/contract.h"
#include "model/types/logical_type.h"
#include "validation/context.h"

namespace vorn::validation::types {

// Every field of every interface that has a schema: inputs, then outputs.
void validate_types(ValidationContext& ctx, const model::TransformationContract& contract);

// A named field with a well-formed type whose conversions start from that
// type, end in a compatible one and say when they lose precision.
void validate_field_type(ValidationContext& ctx, std::string_view field_path, std::string_view schema_path,
                         const model::Field& field);

// Why a declared type text does not parse, as a diagnostic at `object_path`.
void emit_type_error(ValidationContext& ctx, std::string_view object_path, std::string_view type_text,
                     const model::types::TypeParseError& error);

}  // namespace vorn::validation::types
