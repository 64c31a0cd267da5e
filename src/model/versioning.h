#pragma once

#include <optional>
#include <string>

#include "parser/record_spec.h"

namespace vorn::model {

struct Versioning {
  std::optional<std::string> compatibility;

  bool operator==(const Versioning&) const = default;
  static const parser::RecordSpec<Versioning>& spec();
};

}  // namespace vorn::model
