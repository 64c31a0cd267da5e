#include "validation/types.h"

namespace vorn::validation::types {

void validate_types(ValidationContext& /*ctx*/, const model::TransformationContract& /*contract*/) {
  // No checks yet.
}

}  // namespace vorn::validation::types
