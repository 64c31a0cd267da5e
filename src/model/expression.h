#pragma once
// A named expression of the contract.

#include <optional>
#include <string>

#include "model/metadata.h"
#include "parser/record_spec.h"
#include "support/optional_box.h"

namespace vorn::model {

struct Expression {
  std::string id;
  std::optional<std::string> expr;
  std::optional<std::string> type;
  OptionalBox<Metadata> metadata;

  bool operator==(const Expression&) const = default;
  static const parser::RecordSpec<Expression>& spec();
};

}  // namespace vorn::model
