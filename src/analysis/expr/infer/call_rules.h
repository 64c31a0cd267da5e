#pragma once
// Typing of calls, split at the points where the walk infers arguments: a
// call is begun (the checks that need no argument type), then given each
// argument's result in order, then finished. Keeping the per-call state in a
// value lets the walk nest calls on a heap stack instead of recursing.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/expr/infer/function_signatures.h"
#include "analysis/expr/infer/inferred_type.h"
#include "model/registry/registry.h"

namespace vorn::analysis::expr::types {

// A name whose first five bytes are "vorn:" calls a registry function.
bool is_registry_call_name(std::string_view name);

// A call of a function declared in the contract. The name must outlive it.
class ContractCall {
 public:
  // Looks the function up, reads its return type and checks the number of
  // arguments against the parameters.
  static Outcome<ContractCall, TypeError> begin(std::string_view name, std::size_t arg_count,
                                                const FunctionTable& functions);

  // Checks argument `index` (from 0) against its parameter; nothing once
  // an error has been returned.
  std::optional<TypeError> accept(std::size_t index, const InferredExprType& argument);

  // An argument's own nullability does not reach the result; only its
  // dependence on nullable fields and the function's own answer do.
  InferredExprType finish(const model::registry::RegistryDocument& registry);

 private:
  ContractCall(std::string_view name, const model::Function& function, LogicalType return_type)
      : name_(name), function_(&function), return_type_(std::move(return_type)) {}

  std::string_view name_;
  const model::Function* function_;
  LogicalType return_type_;
  bool references_nullable_fields_ = false;
};

// A call of a registry function. The name and the registry must outlive it.
class RegistryCall {
 public:
  // Finds the entry, decodes its definition and checks the argument count.
  static Outcome<RegistryCall, TypeError> begin(std::string_view name, std::size_t arg_count,
                                                const model::registry::RegistryDocument& registry);

  // Arguments are only collected: their types are checked once all of them
  // have been inferred.
  void accept(InferredExprType argument);

  InferResult finish();

 private:
  RegistryCall(std::string_view name, RegistryFunctionDef def) : name_(name), def_(std::move(def)) {}

  InferResult finish_same_as_args();
  InferResult finish_declared();

  std::string_view name_;
  RegistryFunctionDef def_;
  std::vector<LogicalType> arg_types_;
  bool references_nullable_fields_ = false;
};

}  // namespace vorn::analysis::expr::types
