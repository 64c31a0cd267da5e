#pragma once
// YAML text to document events, through libyaml.

#include <cstdint>
#include <string_view>

#include "parser/event.h"
#include "support/result.h"

namespace vorn::parser::yaml {

// Decodes exactly one YAML document. Anchors and aliases are replayed with a
// bounded expansion; nesting is limited to kMaxNesting levels; plain scalars
// are typed as null, bool, int, float or string. Errors carry the position
// suffix " at line {} column {}". The stream refers to `bytes`.
Result<EventStream> read_events(std::string_view bytes);

// Where event number `index` of the stream read from `bytes` starts, as
// libyaml places it, found by reading the document again up to it: only
// error texts want positions, so streams keep none.
TextPosition event_position(std::string_view bytes, std::size_t index);

}  // namespace vorn::parser::yaml
