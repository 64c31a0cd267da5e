#pragma once
// A standard or vendor semantic action applied to a field or interface.

#include <optional>
#include <string>

#include "model/metadata.h"
#include "parser/record_spec.h"
#include "support/optional_box.h"

namespace vorn::model {

struct SemanticAction {
  std::string id;
  std::string action;
  std::string target;
  OptionalBox<Metadata> metadata;

  bool operator==(const SemanticAction&) const = default;
  static const parser::RecordSpec<SemanticAction>& spec();
};

}  // namespace vorn::model
