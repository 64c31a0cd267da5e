#pragma once
// What type inference hands back: the type and nullability of an expression,
// or the first type error that stopped the walk.

#include <string>
#include <utility>
#include <variant>

#include "diagnostics/codes.h"
#include "diagnostics/diagnostic.h"
#include "model/types/logical_type.h"

namespace vorn::analysis::expr::types {

using model::types::LogicalType;

struct InferredExprType {
  LogicalType logical_type;
  // The value may be null.
  bool nullable = false;
  // The value depends on a nullable schema field, directly or through
  // operands and arguments. A call whose function may return null is
  // nullable without depending on a nullable field.
  bool references_nullable_fields = false;

  bool operator==(const InferredExprType&) const = default;
};

// The problem that ended inference; becomes a Diagnostic at the boundary.
struct TypeError {
  diagnostics::Code code;
  diagnostics::DiagnosticCategory category;
  std::string message;

  bool operator==(const TypeError&) const = default;
};

// A value or the problem that prevented it.
template <class T, class E>
class Outcome {
 public:
  Outcome(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Outcome(E error) : v_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  // value() requires ok(); error() requires !ok().
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  const E& error() const& { return std::get<1>(v_); }
  E&& error() && { return std::get<1>(std::move(v_)); }

 private:
  std::variant<T, E> v_;
};

using InferResult = Outcome<InferredExprType, TypeError>;
// The form callers outside inference see: a type error as a Diagnostic.
using ExprTypeResult = Outcome<InferredExprType, diagnostics::Diagnostic>;

}  // namespace vorn::analysis::expr::types
