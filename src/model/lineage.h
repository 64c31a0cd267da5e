#pragma once
// Which inputs each output is derived from.

#include <string>
#include <vector>

#include "parser/record_spec.h"

namespace vorn::model {

struct LineageMapping {
  std::string output;
  std::vector<std::string> inputs;

  bool operator==(const LineageMapping&) const = default;
  static const parser::RecordSpec<LineageMapping>& spec();
};

struct Lineage {
  std::vector<LineageMapping> mappings;

  bool operator==(const Lineage&) const = default;
  static const parser::RecordSpec<Lineage>& spec();
};

}  // namespace vorn::model
