#pragma once
// Documents compiled into the library at build time (src/registry/builtin),
// looked up by their names, such as "builtin/functions.yaml".

#include <optional>
#include <string_view>

namespace vorn::embedded {

std::optional<std::string_view> find(std::string_view name);

}  // namespace vorn::embedded
