#include "analysis/expr/infer/operator_rules.h"

#include "analysis/expr/infer/type_errors.h"
#include "analysis/expr/infer/type_render.h"

namespace vorn::analysis::expr::types {
namespace {

using ast::BinaryOp;
using model::types::TypeCompatibility;
namespace fi = validation::field_index;

LogicalType primitive(std::string_view name) {
  return LogicalType{LogicalType::Primitive{std::string(name)}};
}

bool is_numeric_name(std::string_view name) { return name == "integer" || name == "decimal"; }

bool is_arithmetic(BinaryOp op) {
  return op == BinaryOp::Add || op == BinaryOp::Sub || op == BinaryOp::Mul || op == BinaryOp::Div;
}

bool is_logical(BinaryOp op) { return op == BinaryOp::And || op == BinaryOp::Or; }

// The result type of an arithmetic operator, or its error.
Outcome<LogicalType, TypeError> arithmetic_type(BinaryOp op, const std::string& left,
                                                const std::string& right) {
  if (left == "string" || right == "string") {
    if (op == BinaryOp::Add && left == "string" && right == "string") return primitive("string");
    return type_error(TypeErrorKind::OperatorInvalidFor, left, right);
  }
  if (is_numeric_name(left) && is_numeric_name(right)) {
    // Integer division stays integer.
    return primitive(left == "decimal" || right == "decimal" ? "decimal" : "integer");
  }
  return type_error(TypeErrorKind::ArithmeticNeedsNumbers, left, right);
}

// Arithmetic and logical operators work on primitive names only; the left
// operand's name is asked for first.
Outcome<LogicalType, TypeError> operand_names_type(BinaryOp op, const LogicalType& l, const LogicalType& r) {
  auto left = primitive_name(l);
  if (!left) return std::move(left).error();
  auto right = primitive_name(r);
  if (!right) return std::move(right).error();
  if (is_arithmetic(op)) return arithmetic_type(op, left.value(), right.value());
  if (left.value() == "boolean" && right.value() == "boolean") return primitive("boolean");
  return type_error(TypeErrorKind::LogicNeedsBooleans, left.value(), right.value());
}

}  // namespace

InferredExprType literal_type(const ast::LiteralValue& value) {
  static constexpr std::string_view kNames[] = {"boolean", "string", "integer", "decimal"};
  return InferredExprType{primitive(kNames[static_cast<std::size_t>(value.kind())]), false, false};
}

InferResult field_type(std::string_view reference, const fi::FieldIndex& fields) {
  fi::TargetResolution resolution = fields.resolve(reference);
  if (const auto* field = resolution.get_if<fi::TargetResolution::Field>()) {
    auto parsed = model::types::parse_logical_type(field->location->type);
    if (!parsed) return type_error(TypeErrorKind::FieldTypeInvalid, reference);
    bool nullable = field->location->nullable;
    return InferredExprType{std::move(parsed).value(), nullable, nullable};
  }
  if (const auto* interface = resolution.get_if<fi::TargetResolution::Interface>()) {
    return type_error(TypeErrorKind::FieldIsInterface, interface->id);
  }
  if (resolution.get_if<fi::TargetResolution::Ambiguous>()) {
    return type_error(TypeErrorKind::FieldAmbiguous, reference);
  }
  return type_error(TypeErrorKind::FieldUnresolved, reference);
}

InferResult unary_type(ast::UnaryOp op, InferredExprType operand) {
  if (op == ast::UnaryOp::Neg) {
    if (!is_primitive(operand.logical_type, "integer") && !is_primitive(operand.logical_type, "decimal")) {
      return type_error(TypeErrorKind::NegNeedsNumber, format_logical_type(operand.logical_type));
    }
  } else if (!is_primitive(operand.logical_type, "boolean")) {
    return type_error(TypeErrorKind::NotNeedsBoolean, format_logical_type(operand.logical_type));
  }
  return operand;
}

InferResult binary_type(BinaryOp op, const InferredExprType& left, const InferredExprType& right) {
  InferredExprType result{primitive("boolean"), left.nullable || right.nullable,
                          left.references_nullable_fields || right.references_nullable_fields};
  if (is_arithmetic(op) || is_logical(op)) {
    auto type = operand_names_type(op, left.logical_type, right.logical_type);
    if (!type) return std::move(type).error();
    result.logical_type = std::move(type).value();
    return result;
  }
  // Comparisons: any two types that are not incompatible, lossy included,
  // also with the ordering operators.
  auto compatibility = model::types::type_compatible(left.logical_type, right.logical_type);
  if (compatibility == TypeCompatibility::Incompatible) {
    return type_error(TypeErrorKind::CannotCompare, format_logical_type(left.logical_type),
                      format_logical_type(right.logical_type));
  }
  return result;
}

}  // namespace vorn::analysis::expr::types
