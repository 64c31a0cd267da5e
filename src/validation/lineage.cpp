#include "validation/lineage.h"

#include <string_view>
#include <unordered_set>

namespace vorn::validation::lineage {
namespace {

using context::DiagnosticRow;
using context::render;
using diagnostics::Code;

constexpr auto kReference = diagnostics::DiagnosticCategory::Reference;

enum Row {
  kNoLineage,
  kNoMappings,
  kUnknownOutput,
  kDuplicateMapping,
  kNoInputs,
  kUnknownInput,
  kUnmappedOutput,
};

constexpr DiagnosticRow kRows[] = {
    {Code::MissingLineage, kReference, "lineage is required when outputs are declared", "lineage",
     "Declare lineage mappings from outputs to contributing inputs"},
    {Code::MissingLineage, kReference, "lineage mappings are required for every declared output",
     "lineage.mappings", "Add one mapping per declared output"},
    {Code::UnresolvedReference, kReference, "lineage output '{}' does not match a declared output",
     "lineage.mappings.{}", "Reference declared output identifiers"},
    {Code::DuplicateIdentifier, kReference, "duplicate lineage mapping for output '{}'", "lineage.mappings.{}",
     "Provide at most one mapping per output"},
    {Code::MissingRequiredField, kReference, "lineage mapping for output '{}' must reference at least one input",
     "lineage.mappings.{}.inputs", "List contributing input identifiers"},
    {Code::UnresolvedReference, kReference, "lineage input '{}' does not match a declared input",
     "lineage.mappings.{}.inputs", "Reference declared input identifiers"},
    {Code::MissingLineage, kReference, "output '{}' is missing a lineage mapping", "lineage.mappings.{}",
     "Map every declared output to one or more inputs"},
};

// Every lineage row names one text in its message and (when it has a
// placeholder there) the mapped output in its path.
void report(ValidationContext& ctx, Row id, std::string_view named, std::string_view output) {
  const DiagnosticRow& row = kRows[id];
  ctx.report(row, render(row.message, named), render(row.object_ref, output));
}

using Ids = std::unordered_set<std::string_view>;

template <class Interface>
Ids ids_of(const std::vector<Interface>& interfaces) {
  Ids ids;
  ids.reserve(interfaces.size());
  for (const Interface& interface : interfaces) ids.insert(interface.id);
  return ids;
}

// One mapping; records its output as mapped unless the output is unknown.
void check_mapping(ValidationContext& ctx, const model::LineageMapping& mapping, const Ids& outputs,
                   const Ids& inputs, Ids& mapped) {
  const std::string& output = mapping.output;
  if (!outputs.contains(output)) return report(ctx, kUnknownOutput, output, output);
  if (!mapped.insert(output).second) report(ctx, kDuplicateMapping, output, output);
  if (mapping.inputs.empty()) return report(ctx, kNoInputs, output, output);
  for (const std::string& input : mapping.inputs)
    if (!inputs.contains(input)) report(ctx, kUnknownInput, input, output);
}

}  // namespace

void validate_lineage(ValidationContext& ctx, const model::TransformationContract& contract) {
  if (contract.outputs.empty()) return;
  if (!contract.lineage) return report(ctx, kNoLineage, {}, {});
  const std::vector<model::LineageMapping>& mappings = contract.lineage->mappings;
  if (mappings.empty()) return report(ctx, kNoMappings, {}, {});
  Ids outputs = ids_of(contract.outputs);
  Ids inputs = ids_of(contract.inputs);
  Ids mapped;
  mapped.reserve(outputs.size());
  for (const model::LineageMapping& mapping : mappings) check_mapping(ctx, mapping, outputs, inputs, mapped);
  for (const model::Output& output : contract.outputs)
    if (!mapped.contains(output.id)) report(ctx, kUnmappedOutput, output.id, output.id);
}

}  // namespace vorn::validation::lineage
