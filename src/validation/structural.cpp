#include "validation/structural.h"

namespace vorn::validation::structural {

void validate_structural(ValidationContext& /*ctx*/, const model::TransformationContract& /*contract*/) {
  // No checks yet.
}

}  // namespace vorn::validation::structural
