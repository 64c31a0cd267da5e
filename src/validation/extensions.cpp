#include "validation/extensions.h"

namespace vorn::validation::extensions {

void validate_extensions(ValidationContext& /*ctx*/, const model::TransformationContract& /*contract*/,
                         const model::registry::RegistryDocument& /*registry*/) {
  // No checks yet.
}

}  // namespace vorn::validation::extensions
