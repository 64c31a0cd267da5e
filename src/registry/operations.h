#pragma once
// The registry as callers see it: the default registry, optionally with one
// registry file merged into a private copy of it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/registry/registry.h"
#include "registry/load.h"

namespace vorn::registry {

// A copy of the default registry with the file's entries merged in; the
// header stays that of the default registry.
RegistryResult<model::registry::RegistryDocument> load_merged(const std::string& path);

// Every entry, in registry order, of the default or the merged registry.
RegistryResult<std::vector<model::registry::RegistryEntry>> list(const std::optional<std::string>& path);

// The entry stored under exactly this key (no trimming, case-sensitive).
RegistryResult<std::optional<model::registry::RegistryEntry>> resolve_with_path(
    std::string_view id, const std::optional<std::string>& path);

}  // namespace vorn::registry
