#pragma once
// The full view of a registry entry's definition that the semantic checks
// read: a JSON object tagged by "kind", one variant per category of entry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "parser/record_spec.h"
#include "support/result.h"

namespace vorn::validation::stdlib_definition {

struct StdlibParameter {
  std::string name;
  std::string type;
  bool optional = false;

  static const parser::RecordSpec<StdlibParameter>& spec();
};

// Absent keys check nothing; an absent or null nullability flag allows null.
struct StdlibDefinition {
  struct SemanticAction {
    std::optional<std::string> target_type;
    std::optional<bool> target_nullable_allowed;
    static const parser::RecordSpec<SemanticAction>& spec();
  };
  struct Rule {
    std::optional<std::vector<std::string>> phases;  // empty: no phase is allowed
    std::optional<std::string> target_type;
    std::optional<bool> target_nullable_allowed;
    std::optional<std::vector<StdlibParameter>> parameters;
    static const parser::RecordSpec<Rule>& spec();
  };
  struct Function {
    std::optional<std::uint64_t> min_args;
    std::optional<std::uint64_t> max_args;  // absent or null: no upper bound
    std::vector<std::string> arg_types;
    std::string return_type;  // a logical type, or "sameAsArgs"
    std::optional<bool> return_nullable;
    static const parser::RecordSpec<Function>& spec();
  };

  std::variant<SemanticAction, Rule, Function> value;

  template <class V>
  const V* get_if() const { return std::get_if<V>(&value); }

  // Reads a JSON object text. The tag may stand anywhere in the object and
  // every key a variant does not take is ignored. The error is the JSON
  // reader's own text, with the position where reading stopped.
  static Result<StdlibDefinition> deserialize(std::string_view text);
};

}  // namespace vorn::validation::stdlib_definition
