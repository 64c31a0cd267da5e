#include "validation/extensions.h"

#include <string>
#include <string_view>

#include "model/identifiers.h"

namespace vorn::validation::extensions {
namespace {

using context::DiagnosticRow;
using context::render;
using diagnostics::Code;
using model::registry::ExtensionCompatibility;
using model::registry::RegistryCategory;
using model::registry::RegistryDocument;
using model::registry::RegistryEntry;

constexpr auto kStructure = diagnostics::DiagnosticCategory::Structure;

enum Row { kSingularList, kNestedExtensions, kUnknownKey, kReservedNamespace, kUnsupportedMandatory };

constexpr DiagnosticRow kRows[] = {
    {Code::UnknownField, kStructure, "unknown top-level field '{}'", "{}", "Did you mean '{}'?"},
    {Code::InvalidExtension, kStructure,
     "vendor keys must be flattened at the contract level, not nested under 'extensions'", "extensions",
     "Use vendor:fieldName at the top level instead of an extensions wrapper"},
    {Code::UnknownField, kStructure, "unknown top-level field '{}'", "{}",
     "Check for typos in standard field names such as inputs or outputs"},
    {Code::InvalidExtension, kStructure, "extension key '{}' must use a vendor namespace", "{}",
     "Use vendor:fieldName for contract-level extensions; vorn: is reserved"},
    {Code::UnsupportedExtension, diagnostics::DiagnosticCategory::Extension, "unsupported mandatory extension '{}'",
     "{}", "Use a supported extension or remove the mandatory requirement"},
};

void report(ValidationContext& ctx, Row id, std::string_view key) {
  const DiagnosticRow& row = kRows[id];
  ctx.report(row, render(row.message, key), render(row.object_ref, key));
}

// A list under the singular of a contract list key is a likely typo.
std::string_view plural_of_list_key(std::string_view key, const model::JsonValue& value) {
  if (!value.is_array()) return {};
  if (key == "input") return "inputs";
  if (key == "output") return "outputs";
  return {};
}

// A colon with text on both sides.
bool has_usable_colon(std::string_view key) {
  std::size_t colon = key.find(':');
  return colon != std::string_view::npos && colon != 0 && colon + 1 != key.size();
}

bool blocks(const RegistryEntry& entry) {
  return entry.compatibility == ExtensionCompatibility::Mandatory && !entry.supported;
}

// An entry for the whole key decides alone; otherwise its namespace's entry.
bool is_unsupported_mandatory(const RegistryDocument& registry, const std::string& key) {
  if (auto it = registry.entries.find(key); it != registry.entries.end()) return blocks(it->second);
  auto it = registry.entries.find(key.substr(0, key.find(':')));
  return it != registry.entries.end() && it->second.category == RegistryCategory::ExtensionNamespace &&
         blocks(it->second);
}

}  // namespace

void validate_extensions(ValidationContext& ctx, const model::TransformationContract& contract,
                         const RegistryDocument& registry) {
  for (const auto& [key, value] : contract.extensions) {
    if (std::string_view plural = plural_of_list_key(key, value); !plural.empty()) {
      const DiagnosticRow& row = kRows[kSingularList];
      ctx.report(row, render(row.message, key), render(row.object_ref, key),
                      render(row.remediation, plural));
    } else if (key == "extensions") {
      if (value.is_object()) report(ctx, kNestedExtensions, key);
    } else if (!has_usable_colon(key)) {
      report(ctx, kUnknownKey, key);
    } else if (!model::identifiers::is_vendor_namespaced_identifier(key)) {
      report(ctx, kReservedNamespace, key);
    } else if (is_unsupported_mandatory(registry, key)) {
      report(ctx, kUnsupportedMandatory, key);
    }
  }
}

}  // namespace vorn::validation::extensions
