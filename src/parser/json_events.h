#pragma once
// JSON text to document events, through nlohmann's SAX parser.

#include <cstddef>
#include <string_view>

#include "parser/event.h"
#include "support/result.h"

namespace vorn::parser::json {

// Decodes exactly one JSON value (whitespace around it allowed). Nesting is
// limited to kMaxNesting levels. Errors carry the position suffix
// " at line {} column {}". The common case is read without the general
// parser (json_scan.h); the stream refers to `bytes`.
Result<EventStream> read_events(std::string_view bytes);

// The same, through the general parser alone.
Result<EventStream> read_events_by_parser(std::string_view bytes);

// Where event number `index` of the stream read from `bytes` is, found by
// reading the text again up to it: only error texts want positions, so
// streams keep none.
TextPosition event_position(std::string_view bytes, std::size_t index);

}  // namespace vorn::parser::json
