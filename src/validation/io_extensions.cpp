#include "validation/io_extensions.h"

#include <fmt/format.h>

#include "model/identifiers.h"

namespace vorn::validation::interfaces {
namespace {

using context::DiagnosticRow;
using context::render;
using diagnostics::Code;

constexpr auto kStructure = diagnostics::DiagnosticCategory::Structure;

enum Row { kMisplacedKey, kNestedExtensions, kUnnamespacedKey };

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidInterface, kStructure, "'{}' must be declared under {}", "{}.{}", "Move this field to {}"},
    {Code::InvalidExtension, kStructure, "vendor keys must be flattened on {}, not nested under 'extensions'",
     "{}.extensions", "Use vendor:fieldName directly on the input or output object"},
    {Code::InvalidExtension, kStructure, "extension key '{}' must use a vendor namespace", "{}.{}",
     "Use vendor:fieldName for input and output extensions"},
};

// Keys that interfaces do not declare but other parts of the document do.
struct MisplacedKey {
  std::string_view key;
  std::string_view belongs_under;
};

constexpr MisplacedKey kMisplacedKeys[] = {
    {"description", "metadata.description"},
    {"tags", "metadata.tags"},
    {"classification", "metadata.classification"},
    {"identity", "metadata.identity"},
    {"governance", "metadata.governance"},
    {"provenance", "metadata.provenance"},
    {"documentation", "metadata.documentation"},
    {"precondition", "preconditions"},
    {"postcondition", "postconditions"},
    {"preconditions", "preconditions (inputs only)"},
    {"postconditions", "postconditions (outputs only)"},
};

const MisplacedKey* find_misplaced(std::string_view key) {
  for (const MisplacedKey& entry : kMisplacedKeys)
    if (entry.key == key) return &entry;
  return nullptr;
}

template <class Interface>
void check_all(ValidationContext& ctx, const std::vector<Interface>& interfaces, std::string_view collection) {
  for (const Interface& interface : interfaces) {
    if (interface.extensions.empty()) continue;
    validate_io_extension_keys(ctx, fmt::format("{}.{}", collection, interface.id), interface.extensions);
  }
}

}  // namespace

void validate_io_extension_keys(ValidationContext& ctx, std::string_view interface_path,
                                const model::JsonMap& extensions) {
  for (const auto& [key, value] : extensions) {
    if (const MisplacedKey* misplaced = find_misplaced(key)) {
      const DiagnosticRow& row = kRows[kMisplacedKey];
      ctx.report(row, render(row.message, key, misplaced->belongs_under),
                      render(row.object_ref, interface_path, key),
                      render(row.remediation, misplaced->belongs_under));
    } else if (key == "extensions") {
      if (!value.is_object()) continue;
      const DiagnosticRow& row = kRows[kNestedExtensions];
      ctx.report(row, render(row.message, interface_path), render(row.object_ref, interface_path));
    } else if (!model::identifiers::is_vendor_namespaced_identifier(key)) {
      const DiagnosticRow& row = kRows[kUnnamespacedKey];
      ctx.report(row, render(row.message, key), render(row.object_ref, interface_path, key));
    }
  }
}

void validate_io_extensions(ValidationContext& ctx, const model::TransformationContract& contract) {
  check_all(ctx, contract.inputs, "inputs");
  check_all(ctx, contract.outputs, "outputs");
}

}  // namespace vorn::validation::interfaces
