#pragma once
// Typing of plain YAML scalars by the YAML 1.2 core schema.

#include <string_view>

#include "parser/event.h"

namespace vorn::parser::yaml {

struct PlainScalar {
  ScalarType type = ScalarType::String;
  // No text at all: an empty value, typed null.
  bool empty = false;
  bool boolean = false;
  Number number{};  // Int, UInt and Float
};

// The type (and value) of a plain scalar with the given text: null, bool,
// int, uint, float or, failing all, string.
PlainScalar type_plain_scalar(std::string_view text);

}  // namespace vorn::parser::yaml
