#pragma once
// The undeclared keys of inputs and outputs: keys that belong elsewhere in
// the document, a nested extensions object, keys outside a vendor namespace.

#include <string_view>

#include "model/contract.h"
#include "model/json_value.h"
#include "validation/context.h"

namespace vorn::validation::interfaces {

// Every input, then every output, in document order.
void validate_io_extensions(ValidationContext& ctx, const model::TransformationContract& contract);

// The keys of one interface, whose path is "inputs.{id}" or "outputs.{id}".
void validate_io_extension_keys(ValidationContext& ctx, std::string_view interface_path,
                                const model::JsonMap& extensions);

}  // namespace vorn::validation::interfaces
