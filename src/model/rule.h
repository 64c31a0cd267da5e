#pragma once
// A registry rule applied to a target at one phase of the transformation.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/json_value.h"
#include "model/metadata.h"
#include "parser/record_spec.h"
#include "support/optional_box.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::model {

enum class RulePhase : std::uint8_t { Precondition, Execution, Postcondition };

std::string_view to_string(RulePhase phase);

struct Rule {
  std::string id;
  std::string rule;
  std::string target;
  RulePhase phase = RulePhase::Precondition;
  JsonMap parameters;
  OptionalBox<Metadata> metadata;

  bool operator==(const Rule& other) const;
  static const parser::RecordSpec<Rule>& spec();
};

}  // namespace vorn::model
