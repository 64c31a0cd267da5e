#pragma once
// Cuts an expression text into tokens. The whole text is lexed before any
// parsing, so a lexical problem anywhere wins over a grammar problem earlier.

#include <string_view>
#include <vector>

#include "analysis/expr/parse/parse_error.h"
#include "analysis/expr/parse/token.h"

namespace vorn::analysis::expr::parse {

// All tokens of the text, always ending in one end-of-input token whose span
// is (text length, text length); or the first lexical problem. Text that is
// not valid UTF-8 fails with "unexpected character" at the first bad byte.
ParseResult<std::vector<Token>> tokenize(std::string_view text);

}  // namespace vorn::analysis::expr::parse
