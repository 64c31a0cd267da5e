#include "compatibility/classify.h"

#include <algorithm>

#include <fmt/format.h>

namespace vorn::compatibility::classify {
namespace {

using compare::ComparisonOutcome;
using compare::DiffKind;
using diagnostics::Diagnostic;
using diagnostics::DiagnosticCategory;
using diagnostics::DiagnosticSeverity;
using diagnostics::DiagnosticStage;
using types::ChangeCategory;
using types::CompatibilityLevel;

bool has_kind(const ComparisonOutcome& outcome, DiffKind kind) {
  return std::any_of(outcome.diffs.begin(), outcome.diffs.end(), [&](const auto& d) { return d.kind == kind; });
}

CompatibilityLevel level_of(const ComparisonOutcome& forward, const ComparisonOutcome& reverse,
                            const model::TransformationContract& source,
                            const model::TransformationContract& target) {
  bool forward_breaking = has_kind(forward, DiffKind::Breaking);
  bool reverse_breaking = has_kind(reverse, DiffKind::Breaking);
  bool forward_conditional = has_kind(forward, DiffKind::Conditional);
  bool reverse_conditional = has_kind(reverse, DiffKind::Conditional);
  if (reverse_breaking && forward_breaking) return CompatibilityLevel::Incompatible;
  if (reverse_breaking)
    return forward_conditional ? CompatibilityLevel::ConditionallyCompatible : CompatibilityLevel::BackwardCompatible;
  if (forward_breaking)
    return reverse_conditional ? CompatibilityLevel::ConditionallyCompatible : CompatibilityLevel::ForwardCompatible;
  if (forward_conditional || reverse_conditional) return CompatibilityLevel::ConditionallyCompatible;
  // Only non-breaking differences either way: the side with less surface
  // is the one that can stand in for the other.
  if (has_kind(reverse, DiffKind::NonBreaking) && interface_footprint(target) < interface_footprint(source))
    return CompatibilityLevel::ForwardCompatible;
  return CompatibilityLevel::BackwardCompatible;
}

struct Aspect {
  std::string_view name;
  bool types::ComparisonScope::*flag;
  ChangeCategory category;
};

// Rule findings belong to no aspect.
constexpr Aspect kAspects[] = {
    {"interfaces", &types::ComparisonScope::interfaces, ChangeCategory::Interface},
    {"types", &types::ComparisonScope::types, ChangeCategory::Type},
    {"semantics", &types::ComparisonScope::semantics, ChangeCategory::Semantic},
    {"lineage", &types::ComparisonScope::lineage, ChangeCategory::Lineage},
    {"metadata", &types::ComparisonScope::metadata, ChangeCategory::Metadata},
    {"extensions", &types::ComparisonScope::extensions, ChangeCategory::Extension},
};

std::vector<types::AspectResult> aspects_of(const ComparisonOutcome& forward, types::ComparisonScope scope) {
  std::size_t counts[std::size(kAspects)] = {};
  for (const auto& diff : forward.diffs) {
    if (diff.kind == DiffKind::Informational) continue;
    for (std::size_t i = 0; i < std::size(kAspects); ++i)
      if (kAspects[i].category == diff.category) ++counts[i];
  }
  std::vector<types::AspectResult> results;
  for (std::size_t i = 0; i < std::size(kAspects); ++i) {
    const Aspect& aspect = kAspects[i];
    if (!(scope.*aspect.flag)) continue;
    std::string message = counts[i] > 0 ? fmt::format("{} difference(s) in {}", counts[i], aspect.name)
                                        : fmt::format("{} match within scope", aspect.name);
    results.push_back({std::string(aspect.name), counts[i] == 0, std::move(message)});
  }
  return results;
}

std::vector<Diagnostic> diagnostics_of(const ComparisonOutcome& forward, CompatibilityLevel level) {
  std::vector<Diagnostic> list;
  for (const auto& diff : forward.diffs) {
    if (diff.kind == DiffKind::Informational) continue;
    bool breaking = diff.kind == DiffKind::Breaking;
    Diagnostic d = Diagnostic::make(
        breaking ? diagnostics::Code::IncompatibleContract : diagnostics::Code::ConditionalCompatibility,
        breaking ? DiagnosticSeverity::Error : DiagnosticSeverity::Warning, DiagnosticStage::Analysis,
        DiagnosticCategory::Compatibility, diff.message);
    if (diff.object_ref && !diff.object_ref->empty()) d.object_ref = diff.object_ref;
    list.push_back(std::move(d));
  }
  if (level == CompatibilityLevel::Incompatible)
    list.push_back(Diagnostic::make(diagnostics::Code::IncompatibleContract, DiagnosticSeverity::Error,
                                    DiagnosticStage::Analysis, DiagnosticCategory::Compatibility,
                                    "contracts are incompatible within the requested scope")
                       .with_remediation("Review breaking changes and align interfaces, types, or semantics"));
  return list;
}

}  // namespace

std::size_t interface_footprint(const model::TransformationContract& contract) {
  std::size_t count = contract.inputs.size() + contract.outputs.size();
  for (const auto& input : contract.inputs)
    if (input.schema) count += input.schema->fields.size();
  for (const auto& output : contract.outputs)
    if (output.schema) count += output.schema->fields.size();
  return count;
}

report::CompatibilityReport analyze_with_forward(const ComparisonOutcome& forward,
                                                 const model::TransformationContract& source,
                                                 const model::TransformationContract& target,
                                                 types::ComparisonScope scope) {
  report::CompatibilityReport report;
  if (!forward.changes.empty()) {
    ComparisonOutcome reverse = compare::compare_contracts(target, source, scope);
    report.level = level_of(forward, reverse, source, target);
  }
  report.aspects = aspects_of(forward, scope);
  report.diagnostics = diagnostics_of(forward, report.level);
  return report;
}

report::CompatibilityReport analyze(const model::TransformationContract& source,
                                    const model::TransformationContract& target, types::ComparisonScope scope) {
  return analyze_with_forward(compare::compare_contracts(source, target, scope), source, target, scope);
}

}  // namespace vorn::compatibility::classify
