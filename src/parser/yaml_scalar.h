#pragma once
// Typing of plain YAML scalars by the YAML 1.2 core schema.

#include <string_view>

#include "parser/event.h"

namespace vorn::parser::yaml {

// Sets e.type (and e.empty and the value union) for a plain scalar with the
// given text: null, bool, int, uint, float or, failing all, string.
void type_plain_scalar(std::string_view text, Event& e);

}  // namespace vorn::parser::yaml
