#pragma once
// Unicode helpers over UTF-8 text, backed by ICU. Invalid UTF-8 is never an
// error here: an ill-formed sequence counts as one non-space character.

#include <string>
#include <string_view>

namespace vorn {

// Removes leading and trailing characters with the White_Space property.
std::string_view trim_white_space(std::string_view text);

// Empty after trimming White_Space.
inline bool is_blank(std::string_view text) { return trim_white_space(text).empty(); }

// True when the text contains a White_Space character anywhere.
bool contains_white_space(std::string_view text);

// Full Unicode upper-casing (ß -> SS), locale-independent.
std::string to_upper(std::string_view text);
// Full Unicode lower-casing (final sigma handled), locale-independent.
std::string to_lower(std::string_view text);

// Number of Unicode scalar values; an ill-formed byte counts as one.
std::size_t count_code_points(std::string_view text);

// The length of the well-formed UTF-8 sequence that starts at byte `i` of
// `s` (1 to 4), or 0 when none does (no overlong forms, surrogates or code
// points past U+10FFFF).
std::size_t utf8_sequence_length(std::string_view s, std::size_t i);

}  // namespace vorn
