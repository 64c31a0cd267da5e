#pragma once
// The open-ended value of extension entries, rule parameters and finding
// attributes, and the insertion-ordered maps that hold them.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>
#include <tsl/ordered_map.h>

namespace vorn::model {

// Objects keep their keys in ascending byte order.
using JsonValue = nlohmann::json;

// Keeps document order; replacing a value keeps its position. Entries sit in
// one vector: an empty map allocates nothing, and records holding maps move
// without copying.
using JsonMap = tsl::ordered_map<std::string, JsonValue, std::hash<std::string>, std::equal_to<std::string>,
                                 std::allocator<std::pair<std::string, JsonValue>>,
                                 std::vector<std::pair<std::string, JsonValue>>>;

// Equality of two JSON values: same kind and equal. Unlike nlohmann's own
// operator==, an integer never equals a floating-point number (1 != 1.0).
bool json_equal(const JsonValue& a, const JsonValue& b);

// Same keys with equal values, whatever their order.
bool json_map_equal(const JsonMap& a, const JsonMap& b);

// The value of one JSON text, or a discarded value when the text is not
// one. nlohmann's reader takes a NUL byte for the end of its input, so a
// text holding one is refused here rather than read up to the NUL.
JsonValue parse_json_text(std::string_view text, const JsonValue::parser_callback_t& callback = nullptr);

}  // namespace vorn::model
