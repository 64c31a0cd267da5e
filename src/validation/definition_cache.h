#pragma once
// Registry entry definitions as the semantic checks read them, decoded at
// most once per validation run however many objects name the same entry.

#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "model/registry/registry.h"
#include "validation/stdlib_definition.h"

namespace vorn::validation::definition_cache {

using stdlib_definition::StdlibDefinition;
using stdlib_definition::StdlibParameter;

// The entry has no definition, or one that is not a JSON object text:
// there is nothing to check against.
struct NoDefinition {};

// The reader's error, reported once per object that uses the entry.
struct Unreadable {
  std::string error;
};

// A rule definition's parameters, indexed so that each rule costs only
// what it declares: the required ones, and each name's first declaration.
struct ParameterIndex {
  std::vector<const StdlibParameter*> required;
  std::unordered_map<std::string_view, const StdlibParameter*> by_name;
};

struct EntryDefinition {
  std::variant<NoDefinition, StdlibDefinition, Unreadable> value;
  ParameterIndex parameters;  // filled for rule definitions that list parameters
};

class DefinitionCache {
 public:
  // The entry must outlive the cache and stay unchanged.
  const EntryDefinition& definition_of(const model::registry::RegistryEntry& entry);

 private:
  // Keyed by the entry itself: one per registry key, even where two
  // entries were given the same id.
  std::unordered_map<const model::registry::RegistryEntry*, EntryDefinition> by_entry_;
};

}  // namespace vorn::validation::definition_cache
