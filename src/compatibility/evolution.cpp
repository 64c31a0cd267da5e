#include "compatibility/evolution.h"

#include <fmt/format.h>

#include "compatibility/classify.h"
#include "compatibility/compare.h"
#include "support/unicode.h"

namespace vorn::compatibility::evolution {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCategory;
using diagnostics::DiagnosticSeverity;
using diagnostics::DiagnosticStage;
using model::TransformationContract;
using report::ContractChange;
using types::ChangeCategory;
using types::CompatibilityLevel;

Diagnostic identity_differs(const TransformationContract& older, const TransformationContract& newer) {
  return Diagnostic::make(diagnostics::Code::EvolutionBreakingChange, DiagnosticSeverity::Error,
                          DiagnosticStage::Analysis, DiagnosticCategory::Compatibility,
                          fmt::format("contract identity differs ('{}' vs '{}'); revisions must share the same id",
                                      older.id, newer.id))
      .with_remediation("Compare revisions of the same logical contract id");
}

Diagnostic version_conflict(const std::string& version) {
  return Diagnostic::make(diagnostics::Code::VersionConflict, DiagnosticSeverity::Warning, DiagnosticStage::Analysis,
                          DiagnosticCategory::Compatibility,
                          fmt::format("revisions share version '{}' but differ semantically", version))
      .with_object_ref("version")
      .with_remediation("Use distinct version identifiers for distinct revisions");
}

bool deprecated(const TransformationContract& c) { return c.metadata && c.metadata->deprecated == true; }

const std::optional<std::string>* replacement(const TransformationContract& c) {
  return c.metadata ? &c.metadata->replacement : nullptr;
}

// Deprecation is news only when the older revision was not deprecated; a
// replacement only when the older revision named a different one.
void append_lifecycle_changes(const TransformationContract& older, const TransformationContract& newer,
                              std::vector<ContractChange>& changes) {
  if (!deprecated(newer)) return;
  if (!deprecated(older))
    changes.push_back({ChangeCategory::Metadata, "contract metadata marks this revision as deprecated",
                       "metadata.deprecated"});
  const std::optional<std::string>& named = newer.metadata->replacement;
  const std::optional<std::string>* before = replacement(older);
  if (named && !(before && *before == named))
    changes.push_back({ChangeCategory::Metadata, fmt::format("replacement contract: {}", *named),
                       "metadata.replacement"});
}

std::vector<std::string> migration_hints(CompatibilityLevel level, const std::vector<ContractChange>& changes) {
  switch (level) {
    case CompatibilityLevel::Identical:
      return {};
    case CompatibilityLevel::BackwardCompatible:
      return {"Newer revision is backward compatible; downstream consumers may adopt without input changes."};
    case CompatibilityLevel::ForwardCompatible:
      return {"Older revision remains usable with consumers expecting the newer interface superset."};
    case CompatibilityLevel::ConditionallyCompatible:
      return {"Review conditional differences (often extension keys) before deploying the newer revision."};
    case CompatibilityLevel::Incompatible:
      break;
  }
  std::vector<std::string> hints{
      "Breaking changes detected; update consumers or provide a migration path before deployment."};
  for (const ContractChange& change : changes)
    if (change.category == ChangeCategory::Interface || change.category == ChangeCategory::Type)
      hints.push_back(
          fmt::format("Address {} change: {}", to_lower(types::textual_form(change.category)), change.message));
  return hints;
}

}  // namespace

report::EvolutionReport analyze_evolution(const TransformationContract& older, const TransformationContract& newer) {
  report::EvolutionReport report;
  report.source_id = older.id;
  report.target_id = newer.id;
  report.same_identity = older.id == newer.id;
  if (!report.same_identity) report.diagnostics.push_back(identity_differs(older, newer));
  // Whole-contract equality is the model's own: extension entries match in
  // any order, and an integer never equals a float.
  if (older.version == newer.version && !(older == newer))
    report.diagnostics.push_back(version_conflict(older.version));

  auto scope = types::ComparisonScope::every_aspect();
  compare::ComparisonOutcome outcome = compare::compare_contracts(older, newer, scope);
  report::CompatibilityReport classified = classify::analyze_with_forward(outcome, older, newer, scope);
  report.compatibility = classified.level;
  report.changes = std::move(outcome.changes);
  append_lifecycle_changes(older, newer, report.changes);
  report.migration_hints = migration_hints(report.compatibility, report.changes);
  for (Diagnostic& d : classified.diagnostics) report.diagnostics.push_back(std::move(d));
  return report;
}

}  // namespace vorn::compatibility::evolution
