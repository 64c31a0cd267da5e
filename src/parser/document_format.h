#pragma once

#include <cstdint>

namespace vorn::parser {

enum class DocumentFormat : std::uint8_t { Yaml = 0, Json = 1 };

}  // namespace vorn::parser
