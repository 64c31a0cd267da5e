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

// The position libyaml gives the start of its event number `ordinal` (0 is
// the stream start) in `bytes`, found by parsing again up to it: positions
// are wanted only for error texts, so the stream keeps only the number.
TextPosition event_position(std::string_view bytes, std::uint32_t ordinal);

}  // namespace vorn::parser::yaml
