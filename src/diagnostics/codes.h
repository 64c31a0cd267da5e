#pragma once
// The fixed list of diagnostic codes, generated from codes.def.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vorn::diagnostics {

enum class Code : std::uint8_t {
#define VORN_CODE(name, code, title) name,
#include "diagnostics/codes.def"
#undef VORN_CODE
};

struct CodeInfo {
  Code code;
  std::string_view id;     // "vorn:parse-error"
  std::string_view title;  // "Parse Error"
};

// Every code, in published order.
std::span<const CodeInfo> all_codes();

std::string_view code_id(Code code);

}  // namespace vorn::diagnostics
