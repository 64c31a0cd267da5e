#include "validation/references.h"

namespace vorn::validation::references {

void validate_references(ValidationContext& /*ctx*/, const model::TransformationContract& /*contract*/) {
  // No checks yet.
}

}  // namespace vorn::validation::references
