#include "compatibility/types.h"

#include <cstddef>

namespace vorn::compatibility::types {

std::string_view to_string(CompatibilityLevel level) {
  static constexpr std::string_view kNames[] = {"identical", "backwardCompatible", "forwardCompatible",
                                                "conditionallyCompatible", "incompatible"};
  return kNames[static_cast<std::size_t>(level)];
}

std::string_view to_string(ChangeCategory category) {
  static constexpr std::string_view kNames[] = {"metadata", "interface", "type",     "semantic",
                                                "rule",     "lineage",   "extension"};
  return kNames[static_cast<std::size_t>(category)];
}

std::string_view textual_form(ChangeCategory category) {
  static constexpr std::string_view kNames[] = {"Metadata", "Interface", "Type",     "Semantic",
                                                "Rule",     "Lineage",   "Extension"};
  return kNames[static_cast<std::size_t>(category)];
}

std::variant<ComparisonScope, ComparisonScope::Rejected> ComparisonScope::from_tokens(
    const std::vector<std::string>& tokens) {
  if (tokens.empty()) return every_aspect();
  static constexpr struct {
    std::string_view name;
    bool ComparisonScope::*flag;
  } kAspects[] = {
      {"interfaces", &ComparisonScope::interfaces}, {"types", &ComparisonScope::types},
      {"semantics", &ComparisonScope::semantics},   {"lineage", &ComparisonScope::lineage},
      {"metadata", &ComparisonScope::metadata},     {"extensions", &ComparisonScope::extensions},
  };
  ComparisonScope scope = none();
  Rejected rejected;
  for (const std::string& token : tokens) {
    if (token == "all") return every_aspect();
    bool known = false;
    for (const auto& aspect : kAspects) {
      if (token != aspect.name) continue;
      scope.*aspect.flag = true;
      known = true;
    }
    if (!known) rejected.tokens.push_back(token);
  }
  if (!rejected.tokens.empty()) return rejected;
  return scope;
}

}  // namespace vorn::compatibility::types
