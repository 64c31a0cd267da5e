#pragma once
// What a comparison tells its callers: the changes found, the compatibility
// report of two contracts and the evolution report of two revisions.

#include <optional>
#include <string>
#include <vector>

#include "compatibility/types.h"
#include "diagnostics/diagnostic.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::compatibility::report {

// A difference that matters to someone: {"category","message","objectRef"},
// objectRef left out when absent.
struct ContractChange {
  types::ChangeCategory category = types::ChangeCategory::Metadata;
  std::string message;
  std::optional<std::string> object_ref;

  bool operator==(const ContractChange&) const = default;
  void serialize(JsonWriter& w) const;
};

// {"level","aspects","diagnostics"}, every key always written.
struct CompatibilityReport {
  types::CompatibilityLevel level = types::CompatibilityLevel::Identical;
  std::vector<types::AspectResult> aspects;
  std::vector<diagnostics::Diagnostic> diagnostics;

  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

// {"sourceId","targetId","sameIdentity","compatibility","changes",
// "migrationHints","diagnostics"}, every key always written.
struct EvolutionReport {
  std::string source_id;
  std::string target_id;
  bool same_identity = true;
  types::CompatibilityLevel compatibility = types::CompatibilityLevel::Identical;
  std::vector<ContractChange> changes;
  std::vector<std::string> migration_hints;
  std::vector<diagnostics::Diagnostic> diagnostics;

  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::compatibility::report
