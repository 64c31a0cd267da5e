#pragma once
// JSON text read without the general parser, for the common case: a well
// formed document within every limit. Anything else (any error, an integer
// past 64 bits, a number past a double's range, nesting past the limit, a
// byte order mark) is left to the general parser, which also words the
// errors. For the texts it takes, it makes exactly the events the general
// parser would.

#include <optional>
#include <string_view>

#include "parser/event.h"

namespace vorn::parser::json {

// The events of `bytes`, or nothing when the general parser must read them.
std::optional<EventStream> scan_common(std::string_view bytes);

}  // namespace vorn::parser::json
