#pragma once
// Lineage analysis: the graph of a contract's lineage mappings, which
// outputs an input reaches (directly or through chained mappings), which
// inputs an output is mapped from, and who governs the contract.

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/contract.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::lineage::analysis {

// One mapping: {"output","inputs"}, inputs as listed.
struct LineageEdge {
  std::string output;
  std::vector<std::string> inputs;

  bool operator==(const LineageEdge&) const = default;
};

// {"input","outputs"}: every output the input reaches, sorted by bytes.
struct LineageImpactResult {
  std::string input;
  std::vector<std::string> outputs;

  bool operator==(const LineageImpactResult&) const = default;
};

// {"output","inputs"}: the inputs of the output's first mapping.
struct LineageDependencyResult {
  std::string output;
  std::vector<std::string> inputs;

  bool operator==(const LineageDependencyResult&) const = default;
};

// {"owner","steward"}, each left out when absent.
struct LineageGovernance {
  std::optional<std::string> owner;
  std::optional<std::string> steward;

  bool operator==(const LineageGovernance&) const = default;
};

// {"graph","dependency","impact","governance","diagnostics"}: dependency and
// impact left out when not asked for, diagnostics when there are none.
struct LineageAnalysisReport {
  std::vector<LineageEdge> graph;
  std::optional<LineageDependencyResult> dependency;
  std::optional<LineageImpactResult> impact;
  LineageGovernance governance;
  std::vector<diagnostics::Diagnostic> diagnostics;

  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

// Query names are taken as given: an unknown one is a warning, and its
// answer is empty.
LineageAnalysisReport analyze_with_options(const model::TransformationContract& contract,
                                           const std::optional<std::string>& impact,
                                           const std::optional<std::string>& dependency);

}  // namespace vorn::lineage::analysis
