#pragma once
// YAML text to document events, through libyaml.

#include <string_view>

#include "parser/event.h"
#include "support/result.h"

namespace vorn::parser::yaml {

// Decodes exactly one YAML document. Anchors and aliases are replayed with a
// bounded expansion; nesting is limited to kMaxNesting levels; plain scalars
// are typed as null, bool, int, float or string. Errors carry the position
// suffix " at line {} column {}".
Result<EventStream> read_events(std::string_view bytes);

}  // namespace vorn::parser::yaml
