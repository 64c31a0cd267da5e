#pragma once
// Every type error inference can report, with its code, category and message
// template. The control flow picks a row and fills in the placeholders.

#include <cstdint>
#include <string_view>

#include <fmt/format.h>

#include "analysis/expr/infer/inferred_type.h"

namespace vorn::analysis::expr::types {

enum class TypeErrorKind : std::uint8_t {
  // Field references.
  FieldTypeInvalid,
  FieldIsInterface,
  FieldAmbiguous,
  FieldUnresolved,
  // Operators.
  NegNeedsNumber,
  NotNeedsBoolean,
  NotPrimitive,
  OperatorInvalidFor,
  ArithmeticNeedsNumbers,
  CannotCompare,
  LogicNeedsBooleans,
  // Calls of contract functions.
  FunctionUnresolved,
  FunctionMissingReturnType,
  FunctionReturnTypeInvalid,
  FunctionTooManyArguments,
  FunctionMissingArgument,
  FunctionParameterTypeInvalid,
  FunctionArgumentMismatch,
  FunctionNullableArgument,
  // Calls of registry functions.
  RegistryFunctionUnknown,
  RegistryEntryNotFunction,
  RegistryDefinitionMissing,
  RegistryDefinitionNotJson,
  RegistryDefinitionInvalid,
  RegistryTooFewArguments,
  RegistryTooManyArguments,
  RegistryNoArguments,
  RegistryArgumentsDiffer,
  RegistryArgumentTypeRejected,
  RegistryArgTypesMissing,
  RegistryArgTypeInvalid,
  RegistryArgumentMismatch,
  RegistryReturnTypeInvalid,
};

struct TypeErrorRow {
  diagnostics::Code code;
  diagnostics::DiagnosticCategory category;
  std::string_view message;  // {fmt} template
};

const TypeErrorRow& type_error_row(TypeErrorKind kind);

template <class... Args>
TypeError type_error(TypeErrorKind kind, const Args&... args) {
  const TypeErrorRow& row = type_error_row(kind);
  return TypeError{row.code, row.category, fmt::format(fmt::runtime(row.message), args...)};
}

}  // namespace vorn::analysis::expr::types
