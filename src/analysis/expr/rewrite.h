#pragma once
// The normal form of an expression body, through which plan equivalence
// compares expressions.

#include <string>
#include <string_view>

namespace vorn::analysis::expr::rewrite {

// Parses, simplifies and folds the text, then writes it canonically: the
// formatted value when the simplified tree has one, else the formatted tree.
// Text that does not parse comes back with only its leading and trailing
// White_Space removed.
std::string normalize_expression_body(std::string_view text);

}  // namespace vorn::analysis::expr::rewrite
