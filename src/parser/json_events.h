#pragma once
// JSON text to document events, through nlohmann's SAX parser.

#include <string_view>

#include "parser/event.h"
#include "support/result.h"

namespace vorn::parser::json {

// Decodes exactly one JSON value (whitespace around it allowed). Nesting is
// limited to kMaxNesting levels. Errors carry the position suffix
// " at line {} column {}".
Result<EventStream> read_events(std::string_view bytes);

}  // namespace vorn::parser::json
