#include "validation/io_extensions.h"

namespace vorn::validation::interfaces {

void validate_io_extensions(ValidationContext& /*ctx*/, const model::TransformationContract& /*contract*/) {
  // No checks yet.
}

}  // namespace vorn::validation::interfaces
