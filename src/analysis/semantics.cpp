#include "analysis/semantics.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <fmt/format.h>

#include "model/json_value.h"
#include "support/unicode.h"

namespace vorn::analysis::semantics {
namespace {

using diagnostics::Code;
using diagnostics::Diagnostic;
using model::ActionOrdering;
using model::TransformationContract;

struct Row {
  std::string_view object_ref;
  std::string_view message;
  std::string_view remediation;
};

constexpr Row kOverlappingTargets{
    "semantics.ordering", "multiple semantic actions target '{}' without an explicit ordering declaration",
    "Declare semantics.ordering or avoid overlapping semantic action targets"};
constexpr Row kUnknownInOrder{"semantics.ordering.order[{}]",
                              "semantics.ordering references unknown semantic action '{}'",
                              "Reference only declared semantic action identifiers"};
constexpr Row kDuplicateInOrder{"semantics.ordering.order[{}]",
                                "semantics.ordering contains duplicate action id '{}'",
                                "List each semantic action identifier at most once"};
constexpr Row kMissingFromOrder{"semantics.ordering", "semantics.ordering is missing semantic action '{}'",
                                "Include all semantic actions in the explicit order list"};
constexpr Row kImpureWithoutEffects{"semantics.sideEffects",
                                    "transformation declares pure: false but does not declare any side effects",
                                    "Declare sideEffects when pure is false"};
constexpr Row kPureWithEffects{"semantics.sideEffects",
                               "transformation declares pure: true but also declares side effects",
                               "Remove sideEffects or set pure: false"};
constexpr Row kNonDeterministic{
    "functions.{}.function", "contract declares deterministic: true but references non-deterministic function '{}'",
    "Remove the non-deterministic function or set semantics.deterministic: false"};
constexpr std::string_view kLineageCoverage =
    "semantic action targets '{}', but lineage mappings do not mention that output";

Diagnostic row_error(const Row& row, std::string_view ref_arg, std::string_view message_arg) {
  return analysis_error(fmt::format(fmt::runtime(row.message), message_arg),
                        fmt::format(fmt::runtime(row.object_ref), ref_arg), std::string(row.remediation));
}

Diagnostic non_deterministic(std::string_view function_id, std::string_view function) {
  Diagnostic d = row_error(kNonDeterministic, function_id, function);
  d.id = diagnostics::code_id(Code::NonDeterministicSemantics);
  return d;
}

// Reported in order of first appearance, so that results repeat run to run.
void check_overlapping_targets(const TransformationContract& c, SemanticsResult& out) {
  if (c.semantic_actions.empty() || (c.semantics && c.semantics->ordering)) return;
  std::unordered_map<std::string_view, std::size_t> counts;
  for (const auto& action : c.semantic_actions) ++counts[action.target];
  for (const auto& action : c.semantic_actions) {
    auto it = counts.find(action.target);
    if (it->second > 1) {
      out.diagnostics.push_back(row_error(kOverlappingTargets, "", action.target));
      it->second = 0;  // once per target
    }
  }
}

void check_explicit_ordering(const TransformationContract& c, SemanticsResult& out) {
  if (!c.semantics || !c.semantics->ordering || c.semantics->ordering->mode != ActionOrdering::Mode::Explicit)
    return;
  std::unordered_set<std::string_view> declared;
  for (const auto& action : c.semantic_actions) declared.insert(action.id);
  std::unordered_set<std::string_view> named;
  const auto& order = c.semantics->ordering->order;
  for (std::size_t i = 0; i < order.size(); ++i) {
    std::string index = std::to_string(i);
    if (!declared.count(order[i]))
      out.diagnostics.push_back(row_error(kUnknownInOrder, index, order[i]));
    else if (!named.insert(order[i]).second)
      out.diagnostics.push_back(row_error(kDuplicateInOrder, index, order[i]));
  }
  // Distinct action ids no entry names, in order of declaration.
  for (const auto& action : c.semantic_actions) {
    if (named.insert(action.id).second)
      out.diagnostics.push_back(row_error(kMissingFromOrder, "", action.id));
  }
}

void check_purity(const TransformationContract& c, SemanticsResult& out) {
  if (!c.semantics || !c.semantics->pure) return;
  bool has_effects = !c.semantics->side_effects.empty();
  if (!*c.semantics->pure && !has_effects) out.diagnostics.push_back(row_error(kImpureWithoutEffects, "", ""));
  if (*c.semantics->pure && has_effects) out.diagnostics.push_back(row_error(kPureWithEffects, "", ""));
}

// True only when the entry's definition decodes and states deterministic: false.
bool declared_non_deterministic(const model::registry::RegistryEntry& entry) {
  if (entry.category != model::registry::RegistryCategory::Function || !entry.definition) return false;
  std::string_view text = trim_white_space(*entry.definition);
  if (text.empty() || text.front() != '{') return false;
  auto json = model::parse_json_text(text);
  if (json.is_discarded() || !json.is_object()) return false;
  auto it = json.find("deterministic");
  return it != json.end() && it->is_boolean() && !it->get<bool>();
}

void check_determinism(const TransformationContract& c, const model::registry::RegistryDocument& registry,
                       SemanticsResult& out) {
  if (!c.semantics || c.semantics->deterministic != true) return;
  for (const auto& function : c.functions) {
    if (!function.function.starts_with("vorn:")) continue;
    auto it = registry.entries.find(function.function);
    if (it != registry.entries.end() && declared_non_deterministic(it->second))
      out.diagnostics.push_back(non_deterministic(function.id, function.function));
  }
}

void check_lineage_coverage(const TransformationContract& c, SemanticsResult& out) {
  if (!c.lineage) return;
  std::unordered_set<std::string_view> outputs;
  for (const auto& mapping : c.lineage->mappings) outputs.insert(mapping.output);
  for (const auto& action : c.semantic_actions) {
    auto dot = action.target.find('.');
    if (dot == std::string::npos) continue;
    std::string_view interface = std::string_view(action.target).substr(0, dot);
    if (outputs.count(interface)) continue;
    out.findings.push_back(AnalysisFinding{"semanticActions." + action.id, "lineageCoverage",
                                           fmt::format(fmt::runtime(kLineageCoverage), interface), {}});
  }
}

}  // namespace

Diagnostic analysis_error(std::string message, std::string object_ref, std::string remediation) {
  return Diagnostic::make(Code::InvalidSemantics, diagnostics::DiagnosticSeverity::Error,
                          diagnostics::DiagnosticStage::Analysis, diagnostics::DiagnosticCategory::Semantic,
                          std::move(message))
      .with_object_ref(std::move(object_ref))
      .with_remediation(std::move(remediation));
}

SemanticsResult check_semantics(const TransformationContract& contract,
                                const model::registry::RegistryDocument& registry) {
  SemanticsResult out;
  check_overlapping_targets(contract, out);
  check_explicit_ordering(contract, out);
  check_purity(contract, out);
  check_determinism(contract, registry, out);
  check_lineage_coverage(contract, out);
  return out;
}

}  // namespace vorn::analysis::semantics
