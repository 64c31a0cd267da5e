#include "validation/semantics.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>

#include <fmt/format.h>

#include "model/identifiers.h"
#include "model/types/logical_type.h"
#include "support/unicode.h"
#include "validation/definition_cache.h"
#include "validation/registry_function_checks.h"

namespace vorn::validation::semantics {
namespace {

using context::DiagnosticRow;
using context::render;
using definition_cache::DefinitionCache;
using definition_cache::EntryDefinition;
using definition_cache::ParameterIndex;
using definition_cache::StdlibDefinition;
using diagnostics::Code;
using field_index::FieldIndex;
using field_index::FieldLocation;
using field_index::TargetResolution;
using model::registry::RegistryCategory;
using model::registry::RegistryDocument;
using model::registry::RegistryEntry;

constexpr auto kSemantic = diagnostics::DiagnosticCategory::Semantic;
// Rows reported with the code of the object they are about carry this one
// in the table and the object's at the point of report.
constexpr Code kObjectCode = Code::InvalidSemanticAction;

enum Row {
  kActionNotNamespaced,
  kUnknownAction,
  kRuleNotNamespaced,
  kUnknownRule,
  kFunctionNotNamespaced,
  kUnknownFunction,
  kTargetIsInterface,
  kTargetAmbiguous,
  kTargetUndeclared,
  kUnreadableDefinition,
  kTargetType,
  kNullableTarget,
  kPhase,
  kMissingParameter,
  kUnknownParameter,
  kParameterType,
  kRangeWithoutBounds,
  kMissingBody,
};

constexpr DiagnosticRow kRows[] = {
    {Code::InvalidSemanticAction, kSemantic, "semantic action '{}' must be namespaced", "semanticActions.{}.action",
     "Use a vorn: identifier or vendor namespace"},
    {Code::InvalidSemanticAction, kSemantic, "unsupported standard semantic action '{}'",
     "semanticActions.{}.action", "Use a standardized semantic action identifier"},
    {Code::InvalidRule, kSemantic, "rule '{}' must be namespaced", "rules.{}.rule",
     "Use a vorn: identifier or vendor namespace"},
    {Code::InvalidRule, kSemantic, "unsupported standard rule '{}'", "rules.{}.rule",
     "Use a standardized rule identifier"},
    {Code::InvalidFunction, kSemantic, "function '{}' must be namespaced", "functions.{}.function",
     "Use a vorn: identifier or vendor namespace"},
    {Code::InvalidFunction, kSemantic, "unsupported standard function '{}'", "functions.{}.function",
     "Use a standardized function identifier"},
    {kObjectCode, kSemantic, "target '{}' must reference a schema field", "{}", "Target a declared schema field"},
    {Code::AmbiguousReference, kSemantic, "target '{}' matches multiple schema fields", "{}",
     "Qualify the target with an interface identifier"},
    {Code::UnresolvedReference, kSemantic, "target '{}' is not declared", "{}", "Target a declared schema field"},
    {kObjectCode, kSemantic, "registry definition for '{}' is invalid JSON: {}", "registry.{}",
     "Fix the registry entry definition JSON for this identifier"},
    {kObjectCode, kSemantic, "{} requires a '{}' target field; '{}' is '{}'", "{}",
     "Target a compatible schema field"},
    {kObjectCode, kSemantic, "{} cannot target nullable field '{}'", "{}", "Target a non-nullable schema field"},
    {Code::InvalidRule, kSemantic, "{} is not valid in phase '{}'", "rules.{}.phase",
     "Use a supported rule evaluation phase"},
    {Code::InvalidRule, kSemantic, "{} requires parameter '{}'", "rules.{}.parameters",
     "Provide all required rule parameters"},
    {Code::InvalidRule, kSemantic, "{} does not accept parameter '{}'", "rules.{}.parameters.{}",
     "Remove unknown parameters or use a supported rule identifier"},
    {Code::InvalidRule, kSemantic, "parameter '{}' for {} must be of type '{}'", "rules.{}.parameters.{}",
     "Use a value compatible with the parameter type"},
    {Code::InvalidRule, kSemantic, "vorn:range requires at least one of 'min' or 'max' parameters",
     "rules.{}.parameters", "Provide min and/or max bounds"},
    {Code::MissingRequiredField, kSemantic, "expression body is required when an expression is declared",
     "expressions.{}", "Provide an expression body or remove the declaration"},
};

void report(ValidationContext& ctx, Row id, Code code, std::string message, std::string object_ref) {
  DiagnosticRow row = kRows[id];
  if (row.code == kObjectCode) row.code = code;
  ctx.report(row, std::move(message), std::move(object_ref));
}

void report(ValidationContext& ctx, Row id, std::string message, std::string object_ref) {
  report(ctx, id, kRows[id].code, std::move(message), std::move(object_ref));
}

// What semantic actions, rules and functions have in common.
struct ObjectKind {
  Code code;
  RegistryCategory category;
  Row not_namespaced;
  Row unknown;
};

constexpr ObjectKind kActionKind{Code::InvalidSemanticAction, RegistryCategory::SemanticAction,
                                 kActionNotNamespaced, kUnknownAction};
constexpr ObjectKind kRuleKind{Code::InvalidRule, RegistryCategory::Rule, kRuleNotNamespaced, kUnknownRule};
constexpr ObjectKind kFunctionKind{Code::InvalidFunction, RegistryCategory::Function, kFunctionNotNamespaced,
                                   kUnknownFunction};

bool is_namespaced(std::string_view identifier) {
  return identifier.starts_with("vorn:") || model::identifiers::is_vendor_namespaced_identifier(identifier);
}

// A rule parameter value of a definition parameter's type; other type texts
// accept no value.
bool value_fits(const model::JsonValue& value, std::string_view type) {
  if (type == "string") return value.is_string();
  if (type == "integer")
    return value.is_number_integer() &&
           (!value.is_number_unsigned() ||
            value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
  if (type == "decimal") return value.is_number();
  if (type == "boolean") return value.is_boolean();
  return false;
}

class SemanticsPass {
 public:
  SemanticsPass(ValidationContext& ctx, const model::TransformationContract& contract,
                const RegistryDocument& registry)
      : ctx_(ctx), contract_(contract), registry_(registry), index_(FieldIndex::from_contract(contract)) {}

  void run() {
    for (const model::SemanticAction& action : contract_.semantic_actions) check_action(action);
    for (const model::Rule& rule : contract_.rules) check_rule(rule);
    for (const model::Function& function : contract_.functions) check_function(function);
    for (const model::Expression& expression : contract_.expressions) {
      if (expression.expr && !is_blank(*expression.expr)) continue;
      report(ctx_, kMissingBody, render(kRows[kMissingBody].message),
             render(kRows[kMissingBody].object_ref, expression.id));
    }
  }

 private:
  void check_action(const model::SemanticAction& action) {
    const RegistryEntry* entry = known_entry(kActionKind, action.action, action.id);
    if (!entry) return;
    std::string path = fmt::format("semanticActions.{}.target", action.id);
    const FieldLocation* field = resolve_field(index_, action.target, path, ctx_, kActionKind.code);
    if (!field) return;
    const auto* def = definition<StdlibDefinition::SemanticAction>(kActionKind, *entry, action.action);
    if (!def) return;
    check_target(kActionKind.code, action.action, def->target_type, def->target_nullable_allowed, *field, path);
  }

  void check_rule(const model::Rule& rule) {
    const RegistryEntry* entry = known_entry(kRuleKind, rule.rule, rule.id);
    if (!entry) return;
    std::string path = fmt::format("rules.{}.target", rule.id);
    const FieldLocation* field = resolve_field(index_, rule.target, path, ctx_, kRuleKind.code);
    if (!field) return;
    const EntryDefinition* cached = nullptr;
    const auto* def = definition<StdlibDefinition::Rule>(kRuleKind, *entry, rule.rule, &cached);
    if (!def) return;
    std::string_view phase = model::to_string(rule.phase);
    if (def->phases && std::find(def->phases->begin(), def->phases->end(), phase) == def->phases->end())
      report(ctx_, kPhase, render(kRows[kPhase].message, rule.rule, phase),
             render(kRows[kPhase].object_ref, rule.id));
    check_target(kRuleKind.code, rule.rule, def->target_type, def->target_nullable_allowed, *field, path);
    if (def->parameters) check_parameters(rule, cached->parameters);
  }

  void check_function(const model::Function& function) {
    const RegistryEntry* entry = known_entry(kFunctionKind, function.function, function.id);
    if (!entry) return;
    const auto* def = definition<StdlibDefinition::Function>(kFunctionKind, *entry, function.function);
    if (def) registry_function_checks::check_against_definition(ctx_, function, *def);
  }

  // A namespaced identifier naming an entry of the kind's category, or null
  // after the diagnostic that says why not.
  const RegistryEntry* known_entry(const ObjectKind& kind, const std::string& identifier, std::string_view id) {
    Row problem = kind.unknown;
    if (!is_namespaced(identifier)) {
      problem = kind.not_namespaced;
    } else if (auto it = registry_.entries.find(identifier);
               it != registry_.entries.end() && it->second.category == kind.category) {
      return &it->second;
    }
    report(ctx_, problem, render(kRows[problem].message, identifier), render(kRows[problem].object_ref, id));
    return nullptr;
  }

  // The entry's definition when it is one of variant V; an unreadable one
  // is reported for this object.
  template <class V>
  const V* definition(const ObjectKind& kind, const RegistryEntry& entry, const std::string& identifier,
                      const EntryDefinition** cached_out = nullptr) {
    const EntryDefinition& cached = definitions_.definition_of(entry);
    if (cached_out) *cached_out = &cached;
    if (const auto* unreadable = std::get_if<definition_cache::Unreadable>(&cached.value)) {
      report(ctx_, kUnreadableDefinition, kind.code,
             render(kRows[kUnreadableDefinition].message, identifier, unreadable->error),
             render(kRows[kUnreadableDefinition].object_ref, identifier));
      return nullptr;
    }
    const auto* read = std::get_if<StdlibDefinition>(&cached.value);
    return read ? read->get_if<V>() : nullptr;
  }

  void check_target(Code code, const std::string& identifier, const std::optional<std::string>& target_type,
                    std::optional<bool> nullable_allowed, const FieldLocation& field, const std::string& path) {
    if (target_type && primitive_name(field) != *target_type)
      report(ctx_, kTargetType, code,
             render(kRows[kTargetType].message, identifier, *target_type, field.field_name, field.type),
             render(kRows[kTargetType].object_ref, path));
    if (nullable_allowed == false && field.nullable)
      report(ctx_, kNullableTarget, code, render(kRows[kNullableTarget].message, identifier, field.field_name),
             render(kRows[kNullableTarget].object_ref, path));
  }

  // The primitive a field's declared type parses to, or nothing. Parsed once
  // per field, however many objects target it.
  const std::optional<std::string>& primitive_name(const FieldLocation& field) {
    auto [it, inserted] = primitive_names_.try_emplace(&field);
    if (!inserted) return it->second;
    auto parsed = model::types::parse_logical_type(field.type);
    if (parsed) {
      if (const auto* primitive = parsed.value().get_if<model::types::LogicalType::Primitive>())
        it->second = primitive->name;
    }
    return it->second;
  }

  void check_parameters(const model::Rule& rule, const ParameterIndex& definition) {
    for (const auto* parameter : definition.required) {
      if (rule.parameters.count(parameter->name)) continue;
      report(ctx_, kMissingParameter, render(kRows[kMissingParameter].message, rule.rule, parameter->name),
             render(kRows[kMissingParameter].object_ref, rule.id));
    }
    for (const auto& [key, value] : rule.parameters) {
      auto it = definition.by_name.find(key);
      if (it == definition.by_name.end()) {
        report(ctx_, kUnknownParameter, render(kRows[kUnknownParameter].message, rule.rule, key),
               render(kRows[kUnknownParameter].object_ref, rule.id, key));
      } else if (!value_fits(value, it->second->type)) {
        report(ctx_, kParameterType, render(kRows[kParameterType].message, key, rule.rule, it->second->type),
               render(kRows[kParameterType].object_ref, rule.id, key));
      }
    }
    if (rule.rule == "vorn:range" && !rule.parameters.count("min") && !rule.parameters.count("max"))
      report(ctx_, kRangeWithoutBounds, render(kRows[kRangeWithoutBounds].message),
             render(kRows[kRangeWithoutBounds].object_ref, rule.id));
  }

  ValidationContext& ctx_;
  const model::TransformationContract& contract_;
  const RegistryDocument& registry_;
  FieldIndex index_;
  DefinitionCache definitions_;
  std::unordered_map<const FieldLocation*, std::optional<std::string>> primitive_names_;
};

}  // namespace

const FieldLocation* resolve_field(const FieldIndex& index, std::string_view target, std::string_view object_path,
                                   ValidationContext& ctx, Code code) {
  TargetResolution resolution = index.resolve(target);
  if (const auto* field = resolution.get_if<TargetResolution::Field>()) return field->location;
  Row id = kTargetUndeclared;
  if (resolution.get_if<TargetResolution::Interface>())
    id = kTargetIsInterface;
  else if (resolution.get_if<TargetResolution::Ambiguous>())
    id = kTargetAmbiguous;
  report(ctx, id, code, render(kRows[id].message, target), render(kRows[id].object_ref, object_path));
  return nullptr;
}

void validate_semantics(ValidationContext& ctx, const model::TransformationContract& contract,
                        const RegistryDocument& registry) {
  SemanticsPass(ctx, contract, registry).run();
}

}  // namespace vorn::validation::semantics
