#pragma once
// Semantic actions that change nothing when applied twice in a row.

#include <string_view>

namespace vorn::plan {

inline bool is_idempotent_action(std::string_view action) {
  return action == "vorn:trim" || action == "vorn:normalize_whitespace" || action == "vorn:lowercase" ||
         action == "vorn:uppercase";
}

}  // namespace vorn::plan
