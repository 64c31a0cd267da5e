#include "lineage/analysis.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <fmt/format.h>

#include "support/json_writer.h"

namespace vorn::lineage::analysis {
namespace {

using diagnostics::Diagnostic;
using model::LineageMapping;

const std::vector<LineageMapping>& mappings_of(const model::TransformationContract& contract) {
  static const std::vector<LineageMapping> kNone;
  return contract.lineage ? contract.lineage->mappings : kNone;
}

// Input name -> the outputs of the mappings that list it, one entry per
// listing, in document order.
using Downstream = std::unordered_map<std::string_view, std::vector<std::string_view>>;

Downstream downstream_of(const std::vector<LineageMapping>& mappings) {
  Downstream table;
  for (const LineageMapping& m : mappings)
    for (const std::string& input : m.inputs) table[input].push_back(m.output);
  return table;
}

// Breadth first over names, each reached once, so chains of any length and
// cycles end after one visit per name.
std::vector<std::string> reached_from(std::string_view start, const Downstream& downstream) {
  std::unordered_set<std::string_view> reached;
  std::vector<std::string_view> queue{start};
  for (std::size_t head = 0; head < queue.size(); ++head) {
    auto it = downstream.find(queue[head]);
    if (it == downstream.end()) continue;
    for (std::string_view output : it->second)
      if (reached.insert(output).second) queue.push_back(output);
  }
  reached.erase(start);  // a cycle can lead back to the queried name
  std::vector<std::string> outputs(reached.begin(), reached.end());
  std::sort(outputs.begin(), outputs.end());
  return outputs;
}

bool is_declared_input(const model::TransformationContract& c, const std::string& name) {
  return std::any_of(c.inputs.begin(), c.inputs.end(), [&](const auto& i) { return i.id == name; });
}

bool is_declared_output(const model::TransformationContract& c, const std::string& name) {
  return std::any_of(c.outputs.begin(), c.outputs.end(), [&](const auto& o) { return o.id == name; });
}

Diagnostic unknown_name(std::string message, std::string object_ref) {
  return Diagnostic::make(diagnostics::Code::UnresolvedReference, diagnostics::DiagnosticSeverity::Warning,
                          diagnostics::DiagnosticStage::Analysis, diagnostics::DiagnosticCategory::Reference,
                          std::move(message))
      .with_object_ref(std::move(object_ref));
}

LineageDependencyResult dependency_of(const std::vector<LineageMapping>& mappings, const std::string& output) {
  auto first = std::find_if(mappings.begin(), mappings.end(), [&](const auto& m) { return m.output == output; });
  return {output, first == mappings.end() ? std::vector<std::string>{} : first->inputs};
}

LineageGovernance governance_of(const model::TransformationContract& contract) {
  if (!contract.metadata || !contract.metadata->governance) return {};
  return {contract.metadata->governance->owner, contract.metadata->governance->steward};
}

void write_names(JsonWriter& w, const std::vector<std::string>& names) {
  w.begin_array();
  for (const std::string& name : names) w.string(name);
  w.end_array();
}

void write_pair(JsonWriter& w, std::string_view name_key, const std::string& name, std::string_view list_key,
                const std::vector<std::string>& list) {
  w.begin_object();
  w.key(name_key);
  w.string(name);
  w.key(list_key);
  write_names(w, list);
  w.end_object();
}

}  // namespace

LineageAnalysisReport analyze_with_options(const model::TransformationContract& contract,
                                           const std::optional<std::string>& impact,
                                           const std::optional<std::string>& dependency) {
  const std::vector<LineageMapping>& mappings = mappings_of(contract);
  LineageAnalysisReport report;
  report.graph.reserve(mappings.size());
  for (const LineageMapping& m : mappings) report.graph.push_back({m.output, m.inputs});
  Downstream downstream = impact ? downstream_of(mappings) : Downstream{};
  if (impact && !is_declared_input(contract, *impact) && !downstream.contains(*impact))
    report.diagnostics.push_back(
        unknown_name(fmt::format("impact query input '{}' was not found in the contract", *impact),
                     fmt::format("inputs.{}", *impact)));
  if (dependency) {
    bool mapped = std::any_of(mappings.begin(), mappings.end(), [&](const auto& m) { return m.output == *dependency; });
    if (!mapped && !is_declared_output(contract, *dependency))
      report.diagnostics.push_back(
          unknown_name(fmt::format("dependency query output '{}' was not found in the contract", *dependency),
                     fmt::format("outputs.{}", *dependency)));
    report.dependency = dependency_of(mappings, *dependency);
  }
  if (impact) report.impact = LineageImpactResult{*impact, reached_from(*impact, downstream)};
  report.governance = governance_of(contract);
  return report;
}

void LineageAnalysisReport::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("graph");
  w.begin_array();
  for (const LineageEdge& edge : graph) write_pair(w, "output", edge.output, "inputs", edge.inputs);
  w.end_array();
  if (dependency) {
    w.key("dependency");
    write_pair(w, "output", dependency->output, "inputs", dependency->inputs);
  }
  if (impact) {
    w.key("impact");
    write_pair(w, "input", impact->input, "outputs", impact->outputs);
  }
  w.key("governance");
  w.begin_object();
  if (governance.owner) {
    w.key("owner");
    w.string(*governance.owner);
  }
  if (governance.steward) {
    w.key("steward");
    w.string(*governance.steward);
  }
  w.end_object();
  if (!diagnostics.empty()) {
    w.key("diagnostics");
    w.begin_array();
    for (const Diagnostic& d : diagnostics) d.serialize(w);
    w.end_array();
  }
  w.end_object();
}

std::string LineageAnalysisReport::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::lineage::analysis
