#pragma once
// Where calls get their typing rules: the contract's own functions, keyed by
// id, and the function definitions stored as JSON text in registry entries.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/contract.h"
#include "model/function.h"
#include "model/registry/registry.h"

namespace vorn::analysis::expr::types {

// The contract's functions by id. Borrows from the contract, which must
// outlive the table.
class FunctionTable {
 public:
  // When two functions share an id, the later one in the list wins.
  static FunctionTable from_contract(const model::TransformationContract& contract);

  const model::Function* find(std::string_view id) const;

 private:
  std::unordered_map<std::string_view, const model::Function*> by_id_;
};

// The keys of a registry function definition that typing reads; every other
// key (kind, deterministic, ...) is ignored.
struct RegistryFunctionDef {
  std::uint64_t min_args = 0;
  std::optional<std::uint64_t> max_args;  // none: no upper bound
  std::vector<std::string> arg_types;
  std::string return_type;  // a logical type, or "sameAsArgs"
  bool return_nullable = false;

  bool operator==(const RegistryFunctionDef&) const = default;
};

inline constexpr std::string_view kSameAsArgs = "sameAsArgs";

// Trimmed of white space, the text begins with "{".
bool looks_like_json_object(std::string_view definition);

// The definition read from its JSON text, or none when the text is not a
// JSON object, lacks returnType, holds one of the read keys with the wrong
// JSON type (minArgs and maxArgs must be unsigned integers; maxArgs may be
// null) or repeats one of them.
std::optional<RegistryFunctionDef> decode_function_definition(std::string_view definition);

// Whether a contract function's result may be null: its own flag, else the
// returnNullable of the registry function it implements, when that entry's
// definition decodes; false in every other case.
bool function_return_nullable(const model::Function& function,
                              const model::registry::RegistryDocument& registry);

}  // namespace vorn::analysis::expr::types
