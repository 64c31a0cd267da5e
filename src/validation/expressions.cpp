#include "validation/expressions.h"

#include <optional>
#include <string>
#include <variant>

#include "analysis/expr/check.h"
#include "analysis/expr/infer/infer.h"
#include "analysis/expr/infer/type_render.h"
#include "analysis/expr/parse/parser.h"
#include "support/unicode.h"
#include "validation/text_set.h"

namespace vorn::validation::expressions {
namespace {

using context::DiagnosticRow;
using context::render;
using context::render_remediation;
using diagnostics::Code;
using model::types::LogicalType;
using model::types::parse_logical_type;
using model::types::TypeCompatibility;
using model::types::TypeParseError;

constexpr auto kType = diagnostics::DiagnosticCategory::Type;
constexpr auto kSyntax = diagnostics::DiagnosticCategory::Syntax;

enum Row {
  kFunctionWithoutType,
  kDuplicateParameter,
  kRequiredAfterOptional,
  kBodyWithoutType,
  kBodyDoesNotParse,
  kBodyCannotBeTyped,
  kReadsNullableField,
  kTypeMismatch,
};

// Messages without a placeholder are written as given: a parse or
// inference message is already complete.
constexpr DiagnosticRow kRows[] = {
    {Code::MissingRequiredField, kType, "function return type is required", "functions.{}.type",
     "Declare the logical return type of the function"},
    {Code::DuplicateIdentifier, kType, "function parameter '{}' is duplicated",
     "functions.{}.parameters[{}].name", "Use unique parameter names within a function declaration"},
    {Code::InvalidFunction, kType, "required parameter '{}' must appear before optional parameters",
     "functions.{}.parameters[{}].name", "Declare optional parameters as a trailing suffix"},
    {Code::MissingRequiredField, kType, "expression type is required when an expression body is declared",
     "expressions.{}.type", "Declare the logical type of the expression"},
    {Code::InvalidExpression, kSyntax, "", "expressions.{}",
     "Fix expression syntax (operators, parentheses, or string literals)"},
    {Code::InvalidType, kType, "", "expressions.{}",
     "Fix field references, operators, or function calls in the expression"},
    {Code::InvalidType, kType, "expression references nullable fields but declares a non-null type",
     "expressions.{}.type", "Use nullable-compatible typing or target non-nullable fields"},
    {Code::InvalidType, kType, "expression type '{}' does not match inferred type '{}'",
     "expressions.{}.type", "Align the declared type with the expression semantics"},
};

// The declared type does not parse; the message depends on why.
constexpr DiagnosticRow kInvalidTypeRow = {Code::InvalidType, kType, "", "{}",
                                           "Use a valid VORN logical type declaration"};

// One message per kind of TypeParseError, in the order of its variants.
constexpr std::string_view kTypeErrorMessages[] = {
    "unknown logical type '{}'",
    "composite type '{}' is missing parameters",
    "malformed logical type '{}': {}",
    "unknown nested logical type '{}'",
    "composite type '{}' expects {}, found {}",
};
static_assert(std::size(kTypeErrorMessages) == std::variant_size_v<decltype(TypeParseError::value)>);

void report(ValidationContext& ctx, const DiagnosticRow& row, std::string message, std::string object_ref) {
  ctx.error(diagnostics::code_id(row.code), row.category, std::move(message), std::move(object_ref),
            render_remediation(row));
}

std::string type_error_message(std::string_view type_text, const TypeParseError& error) {
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
      return render(pattern, e.parameter);
    }
    std::string operator()(const TypeParseError::ArityMismatch& e) const {
      return render(pattern, e.name, e.expected, e.found);
    }
  };
  return std::visit(Message{kTypeErrorMessages[error.value.index()], type_text}, error.value);
}

void check_function(ValidationContext& ctx, const model::Function& function) {
  if (!function.type) {
    const DiagnosticRow& row = kRows[kFunctionWithoutType];
    report(ctx, row, render(row.message), render(row.object_ref, function.id));
  } else if (auto type = parse_logical_type(*function.type); !type) {
    emit_type_error(ctx, fmt::format("functions.{}.type", function.id), *function.type, type.error());
  }
  TextSet names;
  names.reserve(function.parameters.size());
  bool optional_seen = false;
  for (std::size_t i = 0; i < function.parameters.size(); ++i) {
    const model::FunctionParameter& parameter = function.parameters[i];
    if (!names.insert(parameter.name).second) {
      const DiagnosticRow& row = kRows[kDuplicateParameter];
      report(ctx, row, render(row.message, parameter.name), render(row.object_ref, function.id, i));
    }
    // Every required parameter after the first optional one is reported.
    if (optional_seen && !parameter.optional) {
      const DiagnosticRow& row = kRows[kRequiredAfterOptional];
      report(ctx, row, render(row.message, parameter.name), render(row.object_ref, function.id, i));
    }
    optional_seen = optional_seen || parameter.optional;
    if (auto type = parse_logical_type(parameter.type); !type)
      emit_type_error(ctx, fmt::format("functions.{}.parameters[{}].type", function.id, i), parameter.type,
                      type.error());
  }
}

// Only an integer body may stand where a decimal is declared; every other
// lossy or incompatible pair disagrees.
bool agrees(const LogicalType& inferred, const LogicalType& declared) {
  switch (model::types::type_compatible(inferred, declared)) {
    case TypeCompatibility::Compatible: return true;
    case TypeCompatibility::Lossy:
      return analysis::expr::types::is_primitive(inferred, "integer") &&
             analysis::expr::types::is_primitive(declared, "decimal");
    case TypeCompatibility::Incompatible: return false;
  }
  return false;
}

// The field index and function table of the contract, built on first use
// and shared by all of its expressions.
class Scope {
 public:
  explicit Scope(const model::TransformationContract& contract) : contract_(contract) {}
  const analysis::expr::ExpressionScope& get() {
    if (!scope_) scope_.emplace(analysis::expr::ExpressionScope::from_contract(contract_));
    return *scope_;
  }

 private:
  const model::TransformationContract& contract_;
  std::optional<analysis::expr::ExpressionScope> scope_;
};

void check_body(ValidationContext& ctx, const model::Expression& expression, const LogicalType& declared,
                Scope& scope, const model::registry::RegistryDocument& registry) {
  // Spans count from the first byte of the text as written.
  auto parsed = analysis::expr::parse::parse_expression(*expression.expr);
  if (!parsed) {
    const DiagnosticRow& row = kRows[kBodyDoesNotParse];
    return report(ctx, row, parsed.error().message, render(row.object_ref, expression.id));
  }
  const auto& s = scope.get();
  auto inferred =
      analysis::expr::types::infer_expression_type(parsed.value(), s.fields, s.functions, registry);
  if (!inferred) {
    const DiagnosticRow& row = kRows[kBodyCannotBeTyped];
    return report(ctx, row, std::move(inferred).error().message, render(row.object_ref, expression.id));
  }
  // A declaration has no nullability of its own, so reading a nullable
  // field is always a mismatch.
  if (inferred.value().references_nullable_fields) {
    const DiagnosticRow& row = kRows[kReadsNullableField];
    return report(ctx, row, render(row.message), render(row.object_ref, expression.id));
  }
  if (!agrees(inferred.value().logical_type, declared)) {
    const DiagnosticRow& row = kRows[kTypeMismatch];
    report(ctx, row,
           render(row.message, *expression.type,
                  analysis::expr::types::format_logical_type(inferred.value().logical_type)),
           render(row.object_ref, expression.id));
  }
}

void check_expression(ValidationContext& ctx, const model::Expression& expression, Scope& scope,
                      const model::registry::RegistryDocument& registry) {
  bool has_body = expression.expr && !is_blank(*expression.expr);
  if (!expression.type) {
    if (has_body) {
      const DiagnosticRow& row = kRows[kBodyWithoutType];
      report(ctx, row, render(row.message), render(row.object_ref, expression.id));
    }
    return;
  }
  auto declared = parse_logical_type(*expression.type);
  if (!declared) {
    // The declared type is examined once for the declaration and once more
    // for the body, so a body doubles the report.
    std::string path = fmt::format("expressions.{}.type", expression.id);
    emit_type_error(ctx, path, *expression.type, declared.error());
    if (has_body) emit_type_error(ctx, path, *expression.type, declared.error());
    return;
  }
  if (has_body) check_body(ctx, expression, declared.value(), scope, registry);
}

}  // namespace

void emit_type_error(ValidationContext& ctx, std::string_view object_path, std::string_view type_text,
                     const TypeParseError& error) {
  report(ctx, kInvalidTypeRow, type_error_message(type_text, error),
         render(kInvalidTypeRow.object_ref, object_path));
}

void validate_expressions(ValidationContext& ctx, const model::TransformationContract& contract,
                          const model::registry::RegistryDocument& registry) {
  for (const model::Function& function : contract.functions) check_function(ctx, function);
  Scope scope(contract);
  for (const model::Expression& expression : contract.expressions)
    check_expression(ctx, expression, scope, registry);
}

}  // namespace vorn::validation::expressions
