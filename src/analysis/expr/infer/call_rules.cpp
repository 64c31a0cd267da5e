#include "analysis/expr/infer/call_rules.h"

#include <algorithm>

#include "analysis/expr/infer/type_errors.h"
#include "analysis/expr/infer/type_render.h"

namespace vorn::analysis::expr::types {
namespace {

using model::types::parse_logical_type;
using model::types::type_compatible;
using model::types::TypeCompatibility;

bool incompatible(const LogicalType& from, const LogicalType& to) {
  return type_compatible(from, to) == TypeCompatibility::Incompatible;
}

}  // namespace

bool is_registry_call_name(std::string_view name) { return name.starts_with("vorn:"); }

Outcome<ContractCall, TypeError> ContractCall::begin(std::string_view name, std::size_t arg_count,
                                                     const FunctionTable& functions) {
  const model::Function* function = functions.find(name);
  if (function == nullptr) return type_error(TypeErrorKind::FunctionUnresolved, name);
  if (!function->type) return type_error(TypeErrorKind::FunctionMissingReturnType, name);
  auto return_type = parse_logical_type(*function->type);
  if (!return_type) return type_error(TypeErrorKind::FunctionReturnTypeInvalid, name);

  const auto& parameters = function->parameters;
  if (arg_count > parameters.size()) {
    return type_error(TypeErrorKind::FunctionTooManyArguments, name, parameters.size(), arg_count);
  }
  for (std::size_t i = arg_count; i < parameters.size(); ++i) {
    if (!parameters[i].optional) {
      return type_error(TypeErrorKind::FunctionMissingArgument, name, parameters[i].name);
    }
  }
  return ContractCall(name, *function, std::move(return_type).value());
}

std::optional<TypeError> ContractCall::accept(std::size_t index, const InferredExprType& argument) {
  const model::FunctionParameter& parameter = function_->parameters[index];
  std::size_t position = index + 1;
  auto expected = parse_logical_type(parameter.type);
  if (!expected) return type_error(TypeErrorKind::FunctionParameterTypeInvalid, name_, parameter.name);
  if (incompatible(argument.logical_type, expected.value())) {
    // The parameter's type as the contract writes it, not reformatted.
    return type_error(TypeErrorKind::FunctionArgumentMismatch, position, name_,
                      format_logical_type(argument.logical_type), parameter.type);
  }
  if (argument.references_nullable_fields && !parameter.optional) {
    return type_error(TypeErrorKind::FunctionNullableArgument, position, name_, parameter.name);
  }
  references_nullable_fields_ = references_nullable_fields_ || argument.references_nullable_fields;
  return std::nullopt;
}

InferredExprType ContractCall::finish(const model::registry::RegistryDocument& registry) {
  bool nullable = references_nullable_fields_ || function_return_nullable(*function_, registry);
  return InferredExprType{std::move(return_type_), nullable, references_nullable_fields_};
}

Outcome<RegistryCall, TypeError> RegistryCall::begin(std::string_view name, std::size_t arg_count,
                                                     const model::registry::RegistryDocument& registry) {
  auto it = registry.entries.find(std::string(name));
  if (it == registry.entries.end()) return type_error(TypeErrorKind::RegistryFunctionUnknown, name);
  const model::registry::RegistryEntry& entry = it->second;
  if (entry.category != model::registry::RegistryCategory::Function) {
    return type_error(TypeErrorKind::RegistryEntryNotFunction, name);
  }
  if (!entry.definition) return type_error(TypeErrorKind::RegistryDefinitionMissing, name);
  if (!looks_like_json_object(*entry.definition)) {
    return type_error(TypeErrorKind::RegistryDefinitionNotJson, name);
  }
  std::optional<RegistryFunctionDef> def = decode_function_definition(*entry.definition);
  if (!def) return type_error(TypeErrorKind::RegistryDefinitionInvalid, name);

  if (arg_count < def->min_args) {
    return type_error(TypeErrorKind::RegistryTooFewArguments, name, def->min_args, arg_count);
  }
  if (def->max_args && arg_count > *def->max_args) {
    return type_error(TypeErrorKind::RegistryTooManyArguments, name, *def->max_args, arg_count);
  }
  RegistryCall call(name, std::move(*def));
  call.arg_types_.reserve(arg_count);
  return call;
}

void RegistryCall::accept(InferredExprType argument) {
  references_nullable_fields_ = references_nullable_fields_ || argument.references_nullable_fields;
  arg_types_.push_back(std::move(argument.logical_type));
}

InferResult RegistryCall::finish() {
  InferResult typed = def_.return_type == kSameAsArgs ? finish_same_as_args() : finish_declared();
  if (!typed) return typed;
  InferredExprType result = std::move(typed).value();
  result.nullable = references_nullable_fields_ || def_.return_nullable;
  result.references_nullable_fields = references_nullable_fields_;
  return result;
}

// The result has the first argument's type; every other argument must be
// compatible with it and the first must be one of the listed primitives.
InferResult RegistryCall::finish_same_as_args() {
  if (arg_types_.empty()) return type_error(TypeErrorKind::RegistryNoArguments, name_);
  const LogicalType& first = arg_types_.front();
  for (std::size_t i = 1; i < arg_types_.size(); ++i) {
    if (incompatible(first, arg_types_[i])) {
      return type_error(TypeErrorKind::RegistryArgumentsDiffer, name_, i + 1,
                        format_logical_type(arg_types_[i]), format_logical_type(first));
    }
  }
  if (!type_allowed_for_same_as_args(first, def_.arg_types)) {
    return type_error(TypeErrorKind::RegistryArgumentTypeRejected, name_, format_logical_type(first));
  }
  return InferredExprType{first, false, false};
}

// Each argument is checked against its entry of argTypes; arguments past the
// end share the last entry.
InferResult RegistryCall::finish_declared() {
  const std::vector<std::string>& declared = def_.arg_types;
  for (std::size_t i = 0; i < arg_types_.size(); ++i) {
    if (declared.empty()) return type_error(TypeErrorKind::RegistryArgTypesMissing, name_);
    const std::string& text = declared[std::min(i, declared.size() - 1)];
    auto expected = parse_logical_type(text);
    if (!expected) return type_error(TypeErrorKind::RegistryArgTypeInvalid, name_, text);
    if (incompatible(arg_types_[i], expected.value())) {
      return type_error(TypeErrorKind::RegistryArgumentMismatch, i + 1, name_,
                        format_logical_type(arg_types_[i]), format_logical_type(expected.value()));
    }
  }
  auto return_type = parse_logical_type(def_.return_type);
  if (!return_type) return type_error(TypeErrorKind::RegistryReturnTypeInvalid, name_, def_.return_type);
  return InferredExprType{std::move(return_type).value(), false, false};
}

}  // namespace vorn::analysis::expr::types
