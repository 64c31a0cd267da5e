#include "validation/definition_cache.h"

#include "analysis/expr/infer/function_signatures.h"
#include "support/unicode.h"

namespace vorn::validation::definition_cache {
namespace {

void index_parameters(EntryDefinition& entry) {
  const auto* rule = std::get<StdlibDefinition>(entry.value).get_if<StdlibDefinition::Rule>();
  if (!rule || !rule->parameters) return;
  ParameterIndex& index = entry.parameters;
  index.by_name.reserve(rule->parameters->size());
  for (const StdlibParameter& parameter : *rule->parameters) {
    if (!parameter.optional) index.required.push_back(&parameter);
    index.by_name.try_emplace(parameter.name, &parameter);
  }
}

}  // namespace

const EntryDefinition& DefinitionCache::definition_of(const model::registry::RegistryEntry& entry) {
  auto [it, inserted] = by_entry_.try_emplace(&entry);
  EntryDefinition& cached = it->second;
  if (!inserted) return cached;
  const std::optional<std::string>& text = entry.definition;
  if (!text || !analysis::expr::types::looks_like_json_object(*text)) return cached;
  Result<StdlibDefinition> read = StdlibDefinition::deserialize(trim_white_space(*text));
  if (!read) {
    cached.value = Unreadable{std::move(read).take_error()};
    return cached;
  }
  // Indexed in place: the index points into the stored definition.
  cached.value = std::move(read).value();
  index_parameters(cached);
  return cached;
}

}  // namespace vorn::validation::definition_cache
