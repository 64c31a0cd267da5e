#pragma once
// The registry the library ships with: a header, the reserved namespace
// entry, one entry per diagnostic code, and the entries of the embedded
// standard documents for semantic actions, functions and rules.

#include <string>
#include <string_view>

#include "model/registry/registry.h"
#include "support/result.h"

namespace vorn::registry::builtin {

// An entry as the built-in registry makes them: version "1.0.0", status
// standard, supported, no references; an extension namespace is optional.
model::registry::RegistryEntry entry(std::string_view id, std::string_view name,
                                     model::registry::RegistryCategory category, std::string_view definition);

// "vorn:non-deterministic-semantics" -> "Non Deterministic Semantics".
std::string diagnostic_entry_name(std::string_view code);

// Loads one embedded document as YAML and merges it into the registry. The
// error is "invalid embedded registry doc '{name}': {code: message; ...}".
Result<bool> merge_builtin_doc(model::registry::RegistryDocument& registry, std::string_view text,
                               std::string_view name);

// A freshly built copy; fails only if an embedded document is broken.
Result<model::registry::RegistryDocument> builtin_registry();

}  // namespace vorn::registry::builtin
