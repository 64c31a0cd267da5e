#pragma once
// The document header: a supported vornVersion and a non-blank id, name
// and version.

#include "model/contract.h"
#include "validation/context.h"

namespace vorn::validation::document {

// The versions a contract may declare, in the order messages list them.
inline constexpr std::string_view kSupportedVersions[] = {"1.0.0", "1.0.0-draft"};

void validate_document(ValidationContext& ctx, const model::TransformationContract& contract);

}  // namespace vorn::validation::document
