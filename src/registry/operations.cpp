#include "registry/operations.h"

#include "registry/default_registry.h"

namespace vorn::registry {

using model::registry::RegistryDocument;
using model::registry::RegistryEntry;

namespace {

std::vector<RegistryEntry> entries_of(const RegistryDocument& registry) {
  std::vector<RegistryEntry> out;
  out.reserve(registry.entries.size());
  for (const auto& [key, entry] : registry.entries) out.push_back(entry);
  return out;
}

std::optional<RegistryEntry> lookup(const RegistryDocument& registry, std::string_view id) {
  auto it = registry.entries.find(std::string(id));
  if (it == registry.entries.end()) return std::nullopt;
  return it->second;
}

}  // namespace

RegistryResult<RegistryDocument> load_merged(const std::string& path) {
  auto loaded = load::load(path);
  if (!loaded) return std::move(loaded).take_diagnostics();
  RegistryDocument merged = default_registry().clone();
  merged.merge(loaded.value());
  return merged;
}

RegistryResult<std::vector<RegistryEntry>> list(const std::optional<std::string>& path) {
  if (!path) return entries_of(default_registry());
  auto merged = load_merged(*path);
  if (!merged) return std::move(merged).take_diagnostics();
  return entries_of(merged.value());
}

RegistryResult<std::optional<RegistryEntry>> resolve_with_path(std::string_view id,
                                                                const std::optional<std::string>& path) {
  if (!path) return lookup(default_registry(), id);
  auto merged = load_merged(*path);
  if (!merged) return std::move(merged).take_diagnostics();
  return lookup(merged.value(), id);
}

}  // namespace vorn::registry
