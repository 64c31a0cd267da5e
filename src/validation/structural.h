#pragma once
// Structure of the contract: required lists, unique ids, declared fields.

#include <optional>
#include <string_view>
#include <vector>

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::structural {

// Inputs and outputs declared; ids present and unique per collection and
// between inputs and outputs; schemas with fields of unique names; then
// the warnings about field names that several interfaces declare.
void validate_structural(ValidationContext& ctx, const model::TransformationContract& contract);

// An interface must have a schema, and the schema at least one field.
void validate_interface_schema(ValidationContext& ctx, std::string_view schema_path,
                               const std::optional<model::Schema>& schema);

// Field names unique within one schema; a second blank name is reported
// once per repeat, not per name.
void check_duplicate_schema_fields(ValidationContext& ctx, std::string_view schema_path,
                                   const std::vector<model::Field>& fields);

}  // namespace vorn::validation::structural
