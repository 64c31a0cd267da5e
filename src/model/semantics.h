#pragma once
// The semantics block: determinism, purity, the order of semantic actions
// and declared side effects.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "parser/record_spec.h"

namespace vorn {
class JsonWriter;
}
namespace vorn::parser {
class EventReader;
}

namespace vorn::model {

// Tagged by `mode`: "unordered", or "explicit" with the action ids in order.
struct ActionOrdering {
  enum class Mode : std::uint8_t { Unordered, Explicit };
  Mode mode = Mode::Unordered;
  std::vector<std::string> order;  // Explicit only

  bool operator==(const ActionOrdering&) const = default;

  static bool read(parser::EventReader& r, ActionOrdering& out);
  void serialize(JsonWriter& w) const;
};

struct SideEffectDeclaration {
  std::string id;
  std::string kind;
  std::optional<std::string> description;

  bool operator==(const SideEffectDeclaration&) const = default;
  static const parser::RecordSpec<SideEffectDeclaration>& spec();
};

struct TransformationSemantics {
  std::optional<bool> deterministic;
  std::optional<bool> pure;
  std::optional<ActionOrdering> ordering;
  std::vector<SideEffectDeclaration> side_effects;

  bool operator==(const TransformationSemantics&) const = default;
  static const parser::RecordSpec<TransformationSemantics>& spec();
};

}  // namespace vorn::model
