#pragma once
// What a plan node does: a full copy of the contract record it stands for,
// a semantic action, an expression or a rule.

#include <string_view>
#include <variant>

#include "model/action.h"
#include "model/expression.h"
#include "model/rule.h"

namespace vorn {
class JsonWriter;
}
namespace vorn::parser {
class EventReader;
}

namespace vorn::plan::model {

struct PlanNodeKind {
  std::variant<vorn::model::SemanticAction, vorn::model::Expression, vorn::model::Rule> value;

  bool operator==(const PlanNodeKind&) const = default;

  template <class V>
  const V* get_if() const { return std::get_if<V>(&value); }

  // "semanticAction", "expression" or "rule".
  std::string_view tag() const;

  // One object: the key `kind` with the tag, then the record's own keys.
  // Reading finds the tag wherever it stands and reads the other keys as
  // the record it names.
  static bool read(parser::EventReader& r, PlanNodeKind& out);
  void serialize(JsonWriter& w) const;
};

}  // namespace vorn::plan::model
