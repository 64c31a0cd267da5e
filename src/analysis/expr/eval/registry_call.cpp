#include <string>

#include "analysis/expr/eval/evaluate.h"
#include "support/unicode.h"

namespace vorn::analysis::expr::eval {
namespace {

using ast::LiteralValue;

// The first argument when there is one and it is a string.
const std::string* first_string(std::span<const LiteralValue> args) {
  if (args.empty() || !args.front().is_string()) return nullptr;
  return &args.front().as_string();
}

std::optional<LiteralValue> concat(std::span<const LiteralValue> args) {
  std::string out;
  for (const auto& arg : args) {
    if (!arg.is_string()) return std::nullopt;
    out += arg.as_string();
  }
  return LiteralValue::string(std::move(out));
}

}  // namespace

std::optional<LiteralValue> evaluate_registry_call(std::string_view name, std::span<const LiteralValue> args) {
  if (name == "vorn:concat") return concat(args);
  bool lower = name == "vorn:lower", upper = name == "vorn:upper", length = name == "vorn:length";
  if (!lower && !upper && !length) return std::nullopt;
  const std::string* text = first_string(args);
  if (text == nullptr) return std::nullopt;
  if (lower) return LiteralValue::string(vorn::to_lower(*text));
  if (upper) return LiteralValue::string(vorn::to_upper(*text));
  // Scalar values always fit: a text cannot hold more than INT64_MAX of them.
  return LiteralValue::integer(static_cast<std::int64_t>(vorn::count_code_points(*text)));
}

}  // namespace vorn::analysis::expr::eval
