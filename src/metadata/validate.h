#pragma once
// Checks of every metadata block of a contract: identity against the object
// described, governance, references, provenance timestamps, restricted
// objects and custom keys. Runs inside the validation driver and on its own
// (metadata_validate).

#include <optional>
#include <string_view>

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::metadata::validate {

using validation::ValidationContext;

// The contract block, then inputs, outputs, semantic actions, expressions,
// functions and rules, each in document order.
void validate_metadata(ValidationContext& ctx, const model::TransformationContract& contract);

// Checks `metadata` of one object under "<collection_key>.<object_id>.metadata".
void validate_object_metadata(ValidationContext& ctx, const OptionalBox<model::Metadata>& metadata,
                              std::string_view object_id, std::string_view collection_key);

// Checks one block. A name or version is only compared when expected.
void validate_metadata_block(ValidationContext& ctx, const model::Metadata& metadata,
                             std::string_view expected_identifier,
                             std::optional<std::string_view> expected_name,
                             std::optional<std::string_view> expected_version, std::string_view prefix);

// YYYY-MM-DD, or a date, "T", H:M:S and an optional "Z" or +HH:MM / -HH:MM,
// after trimming White_Space.
bool is_iso8601_timestamp(std::string_view text);

}  // namespace vorn::metadata::validate
