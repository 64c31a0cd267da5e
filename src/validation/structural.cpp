#include "validation/structural.h"

#include <string>

#include "support/unicode.h"
#include "validation/ambiguous_names.h"
#include "validation/field_index.h"
#include "validation/text_set.h"

namespace vorn::validation::structural {
namespace {

using context::DiagnosticRow;
using context::render;
using context::render_remediation;
using diagnostics::Code;

constexpr auto kStructure = diagnostics::DiagnosticCategory::Structure;

enum Row {
  kNoInputs,
  kNoOutputs,
  kBlankId,
  kDuplicateId,
  kInputIdIsOutputId,
  kNoSchema,
  kNoFields,
  kDuplicateBlankFieldName,
  kDuplicateFieldName,
};

constexpr DiagnosticRow kRows[] = {
    {Code::MissingRequiredField, kStructure, "at least one input is required", "inputs",
     "Declare every logical dataset consumed by the transformation"},
    {Code::MissingRequiredField, kStructure, "at least one output is required", "outputs",
     "Declare every logical dataset produced by the transformation"},
    {Code::MissingRequiredField, kStructure, "{} entry is missing a non-empty id", "{}.{}",
     "Provide a stable identifier for every object"},
    {Code::DuplicateIdentifier, kStructure, "duplicate identifier '{}' in {}", "{}.{}",
     "Use unique identifiers within each collection"},
    {Code::DuplicateIdentifier, kStructure, "duplicate interface identifier '{}'", "outputs.{}.id",
     "Use unique identifiers across inputs and outputs"},
    {Code::MissingRequiredField, kStructure, "schema with at least one field is required", "{}",
     "Declare a schema with one or more typed fields for each interface"},
    {Code::MissingRequiredField, kStructure, "schema must declare at least one field", "{}",
     "Add one or more fields to the interface schema"},
    {Code::DuplicateIdentifier, kStructure, "duplicate empty schema field name", "{}",
     "Use unique non-empty field names within each schema"},
    {Code::DuplicateIdentifier, kStructure, "duplicate schema field '{}'", "{}.fields.{}",
     "Use unique field names within each schema"},
};

void report(ValidationContext& ctx, Row id, std::string message, std::string object_ref) {
  const DiagnosticRow& row = kRows[id];
  ctx.error(diagnostics::code_id(row.code), row.category, std::move(message), std::move(object_ref),
            render_remediation(row));
}

// Ids are compared as written: "a" and "a " are two identifiers.
template <class Object>
void check_ids(ValidationContext& ctx, const std::vector<Object>& objects, std::string_view collection) {
  TextSet seen;
  seen.reserve(objects.size());
  for (const Object& object : objects) {
    if (is_blank(object.id)) {
      report(ctx, kBlankId, render(kRows[kBlankId].message, collection),
             render(kRows[kBlankId].object_ref, collection, object.id));
    } else if (!seen.insert(object.id).second) {
      report(ctx, kDuplicateId, render(kRows[kDuplicateId].message, object.id, collection),
             render(kRows[kDuplicateId].object_ref, collection, object.id));
    }
  }
}

// One diagnostic per input whose id some output also uses.
void check_shared_interface_ids(ValidationContext& ctx, const model::TransformationContract& contract,
                                const field_index::FieldIndex& index) {
  if (contract.outputs.empty() || !index.has_io_id_collision()) return;
  TextSet output_ids;
  output_ids.reserve(contract.outputs.size());
  for (const model::Output& output : contract.outputs) output_ids.insert(output.id);
  for (const model::Input& input : contract.inputs) {
    if (!output_ids.contains(input.id)) continue;
    report(ctx, kInputIdIsOutputId, render(kRows[kInputIdIsOutputId].message, input.id),
           render(kRows[kInputIdIsOutputId].object_ref, input.id));
  }
}

template <class Interface>
void check_schemas(ValidationContext& ctx, const std::vector<Interface>& interfaces,
                   std::string_view collection) {
  for (const Interface& interface : interfaces) {
    std::string path = fmt::format("{}.{}.schema", collection, interface.id);
    validate_interface_schema(ctx, path, interface.schema);
    if (interface.schema) check_duplicate_schema_fields(ctx, path, interface.schema->fields);
  }
}

}  // namespace

void validate_interface_schema(ValidationContext& ctx, std::string_view schema_path,
                               const std::optional<model::Schema>& schema) {
  if (schema && !schema->fields.empty()) return;
  Row id = schema ? kNoFields : kNoSchema;
  report(ctx, id, render(kRows[id].message), render(kRows[id].object_ref, schema_path));
}

void check_duplicate_schema_fields(ValidationContext& ctx, std::string_view schema_path,
                                   const std::vector<model::Field>& fields) {
  TextSet names;
  names.reserve(fields.size());
  std::size_t blank_names = 0;
  for (const model::Field& field : fields) {
    if (is_blank(field.name)) {
      if (++blank_names > 1)
        report(ctx, kDuplicateBlankFieldName, render(kRows[kDuplicateBlankFieldName].message),
               render(kRows[kDuplicateBlankFieldName].object_ref, schema_path));
    } else if (!names.insert(field.name).second) {
      report(ctx, kDuplicateFieldName, render(kRows[kDuplicateFieldName].message, field.name),
             render(kRows[kDuplicateFieldName].object_ref, schema_path, field.name));
    }
  }
}

void validate_structural(ValidationContext& ctx, const model::TransformationContract& contract) {
  if (contract.inputs.empty())
    report(ctx, kNoInputs, render(kRows[kNoInputs].message), render(kRows[kNoInputs].object_ref));
  if (contract.outputs.empty())
    report(ctx, kNoOutputs, render(kRows[kNoOutputs].message), render(kRows[kNoOutputs].object_ref));

  check_ids(ctx, contract.inputs, "inputs");
  check_ids(ctx, contract.outputs, "outputs");
  check_ids(ctx, contract.semantic_actions, "semanticActions");
  check_ids(ctx, contract.expressions, "expressions");
  check_ids(ctx, contract.functions, "functions");
  check_ids(ctx, contract.rules, "rules");

  const field_index::FieldIndex index = field_index::FieldIndex::from_contract(contract);
  check_shared_interface_ids(ctx, contract, index);
  check_schemas(ctx, contract.inputs, "inputs");
  check_schemas(ctx, contract.outputs, "outputs");
  lineage::warn_ambiguous_field_names(ctx, index);
}

}  // namespace vorn::validation::structural
