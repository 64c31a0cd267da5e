#include "validation/registry_function_checks.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "analysis/expr/infer/function_signatures.h"
#include "model/types/logical_type.h"

namespace vorn::validation::registry_function_checks {
namespace {

using context::DiagnosticRow;
using context::render;
using diagnostics::Code;
using model::types::LogicalType;
using Definition = stdlib_definition::StdlibDefinition::Function;

constexpr auto kSemantic = diagnostics::DiagnosticCategory::Semantic;

enum Row {
  kTooFew,
  kTooMany,
  kNotPrimitive,
  kNotAmongSameAsArgs,
  kNotAmongSignature,
  kWrongPosition,
  kPastSignature,
  kNoParameters,
  kMixedTypes,
  kReturnUnlikeParameters,
  kReturnUnlikeSignature,
  kNullableReturn,
};

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidFunction, kSemantic, "function '{}' expects at least {} parameter(s), found {}",
     "functions.{}.parameters", "Declare the required number of parameters"},
    {Code::InvalidFunction, kSemantic, "function '{}' expects at most {} parameter(s), found {}",
     "functions.{}.parameters", "Remove extra parameters"},
    {Code::InvalidFunction, kSemantic, "function '{}' parameter '{}' must be a primitive type",
     "functions.{}.parameters[{}].type", "Use a supported primitive type"},
    {Code::InvalidFunction, kSemantic, "function '{}' parameter '{}' has type '{}', expected one of {}",
     "functions.{}.parameters[{}].type", "Use homogeneous parameter types allowed by the standard function"},
    {Code::InvalidFunction, kSemantic, "function '{}' parameter '{}' has type '{}', expected one of {}",
     "functions.{}.parameters[{}].type", "Align parameter types with the standard function signature"},
    {Code::InvalidFunction, kSemantic, "function '{}' parameter {} '{}' has type '{}', expected '{}'",
     "functions.{}.parameters[{}].type", "Align parameter types with the standard function signature"},
    {Code::InvalidFunction, kSemantic, "function '{}' has too many parameters for its signature",
     "functions.{}.parameters[{}]", "Remove extra parameters"},
    {Code::InvalidFunction, kSemantic, "function '{}' requires at least one parameter", "functions.{}.parameters",
     "Declare at least one parameter"},
    {Code::InvalidFunction, kSemantic, "function '{}' parameters must share the same primitive type",
     "functions.{}.parameters", "Use homogeneous parameter types for coalesce"},
    {Code::InvalidFunction, kSemantic, "function '{}' declares return type '{}', expected '{}'", "functions.{}.type",
     "Align the declared return type with parameter types"},
    {Code::InvalidFunction, kSemantic, "function '{}' declares return type '{}', expected '{}'", "functions.{}.type",
     "Align the declared return type with the standard function signature"},
    {Code::InvalidFunction, kSemantic,
     "function '{}' declares a nullable return type but the standard signature is non-nullable",
     "functions.{}.nullable", "Set nullable: false on the function return type"},
};

// The checks of one function; messages name its registry identifier, paths
// its id.
class FunctionCheck {
 public:
  FunctionCheck(ValidationContext& ctx, const model::Function& function, const Definition& definition)
      : ctx_(ctx), function_(function), def_(definition), n_(function.parameters.size()) {}

  void run() {
    check_arity();
    if (!def_.arg_types.empty() && n_ != 0) check_parameter_types();
    if (!check_return_type()) return;
    if (def_.return_nullable == false && function_.nullable)
      report(kNullableReturn, render(kRows[kNullableReturn].message, name()), id());
  }

 private:
  const std::string& name() const { return function_.function; }
  const std::string& id() const { return function_.id; }
  bool is_same_as_args() const { return def_.return_type == analysis::expr::types::kSameAsArgs; }
  bool allowed(std::string_view type) const {
    return std::find(def_.arg_types.begin(), def_.arg_types.end(), type) != def_.arg_types.end();
  }

  template <class... PathArgs>
  void report(Row id, std::string message, const PathArgs&... path_args) {
    ctx_.report(kRows[id], std::move(message), render(kRows[id].object_ref, path_args...));
  }

  void check_arity() {
    if (def_.min_args && n_ < *def_.min_args)
      report(kTooFew, render(kRows[kTooFew].message, name(), *def_.min_args, n_), id());
    if (def_.max_args && n_ > *def_.max_args)
      report(kTooMany, render(kRows[kTooMany].message, name(), *def_.max_args, n_), id());
  }

  // Signatures with two or more leading arguments of distinct types are
  // matched position by position; the last type repeats past the list.
  bool is_positional() const {
    return def_.min_args && *def_.min_args >= 2 && def_.arg_types.size() != 1;
  }

  void check_parameter_types() {
    bool positional = is_positional();
    for (std::size_t i = 0; i < n_; ++i) {
      const model::FunctionParameter& parameter = function_.parameters[i];
      auto parsed = model::types::parse_logical_type(parameter.type);
      if (!parsed) continue;  // the type check reports it
      const auto* primitive = parsed.value().get_if<LogicalType::Primitive>();
      if (!primitive) {
        report(kNotPrimitive, render(kRows[kNotPrimitive].message, name(), parameter.name), id(), i);
      } else if (is_same_as_args() || !positional) {
        if (allowed(primitive->name)) continue;
        Row row = is_same_as_args() ? kNotAmongSameAsArgs : kNotAmongSignature;
        report(row, render(kRows[row].message, name(), parameter.name, primitive->name,
                           fmt::join(def_.arg_types, ", ")), id(), i);
      } else if (i >= def_.arg_types.size() && def_.max_args && i >= *def_.max_args) {
        report(kPastSignature, render(kRows[kPastSignature].message, name()), id(), i);
      } else {
        const std::string& expected = def_.arg_types[std::min(i, def_.arg_types.size() - 1)];
        if (primitive->name != expected)
          report(kWrongPosition, render(kRows[kWrongPosition].message, name(), i + 1, parameter.name,
                                        primitive->name, expected), id(), i);
      }
    }
  }

  // False when the declared or standard return type does not parse: the
  // function's checks end there.
  bool check_return_type() {
    if (is_same_as_args()) {
      check_common_return_type();
      return true;
    }
    if (!function_.type) return true;
    auto declared = model::types::parse_logical_type(*function_.type);
    auto expected = model::types::parse_logical_type(def_.return_type);
    if (!declared || !expected) return false;
    if (declared.value() != expected.value())
      report(kReturnUnlikeSignature,
             render(kRows[kReturnUnlikeSignature].message, name(), *function_.type, def_.return_type), id());
    return true;
  }

  // The result has the parameters' one primitive type. Parameters that are
  // not primitive are reported on their own and compared with nothing; when
  // none is left there is nothing to compare.
  void check_common_return_type() {
    if (n_ == 0) return report(kNoParameters, render(kRows[kNoParameters].message, name()), id());
    std::vector<std::string> names;
    for (const model::FunctionParameter& parameter : function_.parameters) {
      auto parsed = model::types::parse_logical_type(parameter.type);
      if (!parsed) continue;
      if (const auto* primitive = parsed.value().get_if<LogicalType::Primitive>()) {
        if (!allowed(primitive->name)) return;
        names.push_back(primitive->name);
      }
    }
    if (names.empty()) return;
    bool shared = std::all_of(names.begin(), names.end(), [&](const std::string& n) { return n == names[0]; });
    if (!shared) return report(kMixedTypes, render(kRows[kMixedTypes].message, name()), id());
    if (!function_.type) return;
    auto declared = model::types::parse_logical_type(*function_.type);
    if (declared && declared.value() != LogicalType{LogicalType::Primitive{names[0]}})
      report(kReturnUnlikeParameters,
             render(kRows[kReturnUnlikeParameters].message, name(), *function_.type, names[0]), id());
  }

  ValidationContext& ctx_;
  const model::Function& function_;
  const Definition& def_;
  std::size_t n_;
};

}  // namespace

void check_against_definition(ValidationContext& ctx, const model::Function& function,
                              const Definition& definition) {
  FunctionCheck(ctx, function, definition).run();
}

}  // namespace vorn::validation::registry_function_checks
