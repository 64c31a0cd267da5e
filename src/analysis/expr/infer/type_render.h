#pragma once
// Logical types as inference shows them in messages and compares them
// against the type names of registry definitions.

#include <string>
#include <string_view>
#include <vector>

#include "analysis/expr/infer/inferred_type.h"

namespace vorn::analysis::expr::types {

// A primitive or an extension type as its text; a composite as
// "name<p1,p2>" with no spaces, such as map<string,integer>.
std::string format_logical_type(const LogicalType& type);

// The name of a primitive type, or the error
// "expected primitive type, found '<type>'".
Outcome<std::string, TypeError> primitive_name(const LogicalType& type);

// True when `type` is the primitive called `name`.
bool is_primitive(const LogicalType& type, std::string_view name);

// True when the type is a primitive whose name equals one of the texts
// exactly (byte for byte); false for any other type or an empty list.
bool type_allowed_for_same_as_args(const LogicalType& type, const std::vector<std::string>& arg_types);

}  // namespace vorn::analysis::expr::types
