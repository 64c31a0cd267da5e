#include "validation/semantics.h"

namespace vorn::validation::semantics {

void validate_semantics(ValidationContext& /*ctx*/, const model::TransformationContract& /*contract*/,
                        const model::registry::RegistryDocument& /*registry*/) {
  // No checks yet.
}

}  // namespace vorn::validation::semantics
