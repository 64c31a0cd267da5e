#include "validation/condition_rule_phases.h"

namespace vorn::validation::interfaces {

void validate_condition_rule_phases(ValidationContext& /*ctx*/,
                                    const model::TransformationContract& /*contract*/) {
  // No checks yet.
}

}  // namespace vorn::validation::interfaces
