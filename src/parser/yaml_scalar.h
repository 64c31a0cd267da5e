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

// The type (and value) of a plain scalar with the given text, whatever it
// looks like.
PlainScalar type_any_plain_scalar(std::string_view text);

// The type (and value) of a plain scalar with the given text: null, bool,
// int, uint, float or, failing all, string. Most plain scalars are names,
// told apart here by their first byte and length alone.
inline PlainScalar type_plain_scalar(std::string_view text) {
  if (text.empty()) return type_any_plain_scalar(text);
  switch (text[0]) {
    case '~': return text.size() == 1 ? type_any_plain_scalar(text) : PlainScalar{};
    case 'n': case 'N': case 't': case 'T':
      return text.size() == 4 ? type_any_plain_scalar(text) : PlainScalar{};
    case 'f': case 'F': return text.size() == 5 ? type_any_plain_scalar(text) : PlainScalar{};
    case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
    case '+': case '-': case '.':
      return type_any_plain_scalar(text);
    default: return PlainScalar{};
  }
}

}  // namespace vorn::parser::yaml
