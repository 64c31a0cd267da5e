#include "validation/expressions.h"

namespace vorn::validation::expressions {

void validate_expressions(ValidationContext& /*ctx*/, const model::TransformationContract& /*contract*/,
                          const model::registry::RegistryDocument& /*registry*/) {
  // No checks yet.
}

}  // namespace vorn::validation::expressions
