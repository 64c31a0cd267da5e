#pragma once
// A contract function: a registry function declared for use in expressions.

#include <optional>
#include <string>
#include <vector>

#include "model/metadata.h"
#include "parser/record_spec.h"
#include "support/optional_box.h"

namespace vorn::model {

struct FunctionParameter {
  std::string name;
  std::string type;
  bool optional = false;

  bool operator==(const FunctionParameter&) const = default;
  static const parser::RecordSpec<FunctionParameter>& spec();
};

struct Function {
  std::string id;
  std::string function;
  std::optional<std::string> type;
  bool nullable = false;
  std::vector<FunctionParameter> parameters;
  OptionalBox<Metadata> metadata;

  bool operator==(const Function&) const = default;
  static const parser::RecordSpec<Function>& spec();
};

}  // namespace vorn::model
