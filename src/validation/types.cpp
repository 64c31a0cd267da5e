#include "validation/types.h"

#include <string>
#include <variant>

#include "support/unicode.h"

namespace vorn::validation::types {
namespace {

using context::DiagnosticRow;
using context::render;
using context::render_remediation;
using diagnostics::Code;
using model::types::parse_logical_type;
using model::types::type_compatible;
using model::types::TypeCompatibility;
using model::types::TypeParseError;

constexpr auto kType = diagnostics::DiagnosticCategory::Type;

// One row per kind of TypeParseError, in the order of its variants.
constexpr DiagnosticRow kTypeErrorRows[] = {
    {Code::InvalidType, kType, "unknown logical type '{}'", "{}",
     "Use a primitive, parameterized composite, or namespaced extension type"},
    {Code::InvalidType, kType, "composite type '{}' must declare type parameters", "{}",
     "Use parameterized composite types such as list<string>"},
    {Code::InvalidType, kType, "malformed logical type '{}': {}", "{}",
     "Use syntax such as list<string> or map<string,integer>"},
    {Code::InvalidType, kType, "unknown nested type parameter '{}' in '{}'", "{}",
     "Use a valid primitive, composite, or extension type for each parameter"},
    {Code::InvalidType, kType, "composite type '{}' requires {} type parameters, found {}", "{}",
     "Use list<T>, map<K,V>, object<T...>, or tuple<T...> with correct arity"},
};
static_assert(std::size(kTypeErrorRows) == std::variant_size_v<decltype(TypeParseError::value)>);

enum Row {
  kFieldWithoutName,
  kSourceIsNotFieldType,
  kTargetIncompatibleWithField,
  kIncompatibleConversion,
  kLossyWithoutFlag,
};

constexpr DiagnosticRow kRows[] = {
    {Code::MissingRequiredField, kType, "schema field name is required", "{}", ""},
    {Code::TypeIncompatible, kType,
     "conversion source type '{}' must be identical to the declared field type", "{}.from",
     "Set conversion.from to the field's declared logical type"},
    {Code::TypeIncompatible, kType, "conversion target type '{}' is incompatible with field type", "{}.to",
     "Align conversion.to with the declared field type"},
    {Code::TypeIncompatible, kType, "conversion from '{}' to '{}' is not type-compatible", "{}", ""},
    {Code::InvalidConversion, kType, "conversion from '{}' to '{}' requires lossy: true", "{}",
     "Set lossy: true for non-identical compatible conversions"},
};

void report(ValidationContext& ctx, const DiagnosticRow& row, std::string message,
            std::string_view object_path) {
  ctx.error(diagnostics::code_id(row.code), row.category, std::move(message),
            render(row.object_ref, object_path), render_remediation(row));
}

std::string type_error_message(std::string_view type_text, const TypeParseError& error) {
  std::string_view pattern = kTypeErrorRows[error.value.index()].message;
  struct Message {
    std::string_view pattern;
    std::string_view type_text;
    std::string operator()(const TypeParseError::UnknownType& e) const { return render(pattern, e.text); }
    std::string operator()(const TypeParseError::MissingTypeParameters& e) const {
      return render(pattern, e.name);
    }
    std::string operator()(const TypeParseError::Malformed& e) const {
      return render(pattern, type_text, e.detail);
    }
    std::string operator()(const TypeParseError::UnknownNestedParameter& e) const {
      return render(pattern, e.parameter, type_text);
    }
    std::string operator()(const TypeParseError::ArityMismatch& e) const {
      return render(pattern, e.name, e.expected, e.found);
    }
  };
  return std::visit(Message{pattern, type_text}, error.value);
}

void check_conversion(ValidationContext& ctx, const std::string& path, const model::types::LogicalType& field,
                      const model::TypeConversion& conversion) {
  auto from = parse_logical_type(conversion.from);
  if (!from) return emit_type_error(ctx, path + ".from", conversion.from, from.error());
  auto to = parse_logical_type(conversion.to);
  if (!to) return emit_type_error(ctx, path + ".to", conversion.to, to.error());

  if (type_compatible(field, from.value()) != TypeCompatibility::Compatible)
    report(ctx, kRows[kSourceIsNotFieldType], render(kRows[kSourceIsNotFieldType].message, conversion.from),
           path);
  // Integer and decimal convert with loss; that is the lossy flag's business below.
  if (type_compatible(field, to.value()) == TypeCompatibility::Incompatible)
    report(ctx, kRows[kTargetIncompatibleWithField],
           render(kRows[kTargetIncompatibleWithField].message, conversion.to), path);
  switch (type_compatible(from.value(), to.value())) {
    case TypeCompatibility::Compatible: break;
    case TypeCompatibility::Incompatible:
      report(ctx, kRows[kIncompatibleConversion],
             render(kRows[kIncompatibleConversion].message, conversion.from, conversion.to), path);
      break;
    case TypeCompatibility::Lossy:
      if (!conversion.lossy)
        report(ctx, kRows[kLossyWithoutFlag],
               render(kRows[kLossyWithoutFlag].message, conversion.from, conversion.to), path);
      break;
  }
}

template <class Interface>
void check_interfaces(ValidationContext& ctx, const std::vector<Interface>& interfaces,
                      std::string_view collection) {
  for (const Interface& interface : interfaces) {
    if (!interface.schema) continue;
    std::string schema_path = fmt::format("{}.{}.schema", collection, interface.id);
    // One buffer for every field path of the schema: most fields report nothing.
    std::string field_path;
    for (const model::Field& field : interface.schema->fields) {
      field_path.assign(schema_path).append(".fields.").append(field.name);
      validate_field_type(ctx, field_path, schema_path, field);
    }
  }
}

}  // namespace

void emit_type_error(ValidationContext& ctx, std::string_view object_path, std::string_view type_text,
                     const TypeParseError& error) {
  report(ctx, kTypeErrorRows[error.value.index()], type_error_message(type_text, error), object_path);
}

void validate_field_type(ValidationContext& ctx, std::string_view field_path, std::string_view schema_path,
                         const model::Field& field) {
  if (is_blank(field.name)) {
    report(ctx, kRows[kFieldWithoutName], render(kRows[kFieldWithoutName].message), schema_path);
    return;
  }
  auto type = parse_logical_type(field.type);
  if (!type) return emit_type_error(ctx, field_path, field.type, type.error());
  for (std::size_t i = 0; i < field.conversions.size(); ++i)
    check_conversion(ctx, fmt::format("{}.conversions[{}]", field_path, i), type.value(),
                     field.conversions[i]);
}

void validate_types(ValidationContext& ctx, const model::TransformationContract& contract) {
  check_interfaces(ctx, contract.inputs, "inputs");
  check_interfaces(ctx, contract.outputs, "outputs");
}

}  // namespace vorn::validation::types
