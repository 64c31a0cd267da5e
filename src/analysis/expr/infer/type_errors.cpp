#include "analysis/expr/infer/type_errors.h"

#include <cstddef>

namespace vorn::analysis::expr::types {
namespace {

using diagnostics::Code;
constexpr auto kType = diagnostics::DiagnosticCategory::Type;
constexpr auto kReference = diagnostics::DiagnosticCategory::Reference;

// In TypeErrorKind order.
constexpr TypeErrorRow kRows[] = {
    {Code::InvalidType, kType, "field '{}' has invalid logical type"},
    {Code::InvalidType, kType, "expression reference '{}' must target a schema field"},
    {Code::AmbiguousReference, kReference, "field reference '{}' is ambiguous"},
    {Code::UnresolvedReference, kReference, "unresolved field reference '{}'"},

    {Code::InvalidType, kType, "unary '-' requires a numeric operand, found '{}'"},
    {Code::InvalidType, kType, "unary '!' requires a boolean operand, found '{}'"},
    {Code::InvalidType, kType, "expected primitive type, found '{}'"},
    {Code::InvalidType, kType, "operator is not valid for '{}' and '{}'"},
    {Code::InvalidType, kType, "operator requires numeric operands, found '{}' and '{}'"},
    {Code::InvalidType, kType, "comparison operator cannot compare '{}' and '{}'"},
    {Code::InvalidType, kType, "logical operator requires boolean operands, found '{}' and '{}'"},

    {Code::UnresolvedReference, kReference, "unresolved function reference '{}'"},
    {Code::InvalidFunction, kType, "function '{}' is missing a return type"},
    {Code::InvalidType, kType, "function '{}' has invalid return type"},
    {Code::InvalidFunction, kType, "function '{}' expects at most {} parameter(s), found {}"},
    {Code::InvalidFunction, kType, "function '{}' missing required argument for parameter '{}'"},
    {Code::InvalidType, kType, "function '{}' parameter '{}' has invalid type"},
    {Code::InvalidType, kType, "argument {} to function '{}' has type '{}', expected '{}'"},
    {Code::NullSemanticsViolation, kType,
     "argument {} to function '{}' references nullable fields but parameter '{}' is required"},

    {Code::UnknownRegistryEntry, kReference, "unresolved registry function '{}'"},
    {Code::InvalidFunction, kType, "'{}' is not a function identifier"},
    {Code::InvalidFunction, kType, "registry function '{}' is missing a definition block"},
    {Code::InvalidFunction, kType, "registry function '{}' has a non-JSON definition"},
    {Code::InvalidFunction, kType, "registry function '{}' has an invalid definition schema"},
    {Code::InvalidFunction, kType, "function '{}' expects at least {} argument(s), found {}"},
    {Code::InvalidFunction, kType, "function '{}' expects at most {} argument(s), found {}"},
    {Code::InvalidFunction, kType, "function '{}' requires at least one argument"},
    {Code::InvalidType, kType,
     "function '{}' requires all arguments to share the same type; argument {} is '{}', expected '{}'"},
    {Code::InvalidType, kType, "function '{}' does not accept arguments of type '{}'"},
    {Code::InvalidFunction, kType, "function '{}' is missing argument type rules in registry"},
    {Code::InvalidFunction, kType, "function '{}' registry declares an invalid argument type '{}'"},
    {Code::InvalidType, kType, "argument {} to function '{}' has type '{}', expected '{}'"},
    {Code::InvalidFunction, kType, "function '{}' registry declares an invalid return type '{}'"},
};

static_assert(std::size(kRows) == static_cast<std::size_t>(TypeErrorKind::RegistryReturnTypeInvalid) + 1);

}  // namespace

const TypeErrorRow& type_error_row(TypeErrorKind kind) { return kRows[static_cast<std::size_t>(kind)]; }

}  // namespace vorn::analysis::expr::types
