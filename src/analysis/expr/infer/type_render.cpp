#include "analysis/expr/infer/type_render.h"

#include <algorithm>

#include "analysis/expr/infer/type_errors.h"

namespace vorn::analysis::expr::types {

std::string format_logical_type(const LogicalType& type) {
  if (const auto* p = type.get_if<LogicalType::Primitive>()) return p->name;
  if (const auto* e = type.get_if<LogicalType::Extension>()) return e->text;
  const auto& c = std::get<LogicalType::Composite>(type.value);
  return fmt::format("{}<{}>", c.name, fmt::join(c.parameters, ","));
}

Outcome<std::string, TypeError> primitive_name(const LogicalType& type) {
  if (const auto* p = type.get_if<LogicalType::Primitive>()) return p->name;
  return type_error(TypeErrorKind::NotPrimitive, format_logical_type(type));
}

bool is_primitive(const LogicalType& type, std::string_view name) {
  const auto* p = type.get_if<LogicalType::Primitive>();
  return p != nullptr && p->name == name;
}

bool type_allowed_for_same_as_args(const LogicalType& type, const std::vector<std::string>& arg_types) {
  const auto* p = type.get_if<LogicalType::Primitive>();
  if (p == nullptr) return false;
  return std::find(arg_types.begin(), arg_types.end(), p->name) != arg_types.end();
}

}  // namespace vorn::analysis::expr::types
