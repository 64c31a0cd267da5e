#pragma once
// What the comparison fuzz target does with one input, shared with the test
// that replays fuzz/regressions/ and fuzz/corpus/ without libFuzzer. The
// input holds two YAML contract documents, split at the first line that
// starts with "---".
// Returns an empty string, or the text of a broken invariant.

#include <string>
#include <string_view>

#include "compatibility/classify.h"
#include "compatibility/evolution.h"
#include "lineage/analysis.h"
#include "parser/parse.h"

namespace vorn::fuzz {

namespace compare_detail {

using compatibility::compare::ComparisonOutcome;
using compatibility::compare::DiffKind;
using compatibility::types::ComparisonScope;
using compatibility::types::CompatibilityLevel;
using model::TransformationContract;

// A scope drawn from the input itself, so that the fuzzer explores scopes too.
inline ComparisonScope scope_from(std::string_view bytes) {
  unsigned bits = bytes.empty() ? 63u : static_cast<unsigned char>(bytes.back());
  return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
}

inline std::string check_outcome(const ComparisonOutcome& outcome) {
  std::size_t next = 0;
  for (const auto& diff : outcome.diffs) {
    if (diff.kind == DiffKind::Informational) continue;
    if (next >= outcome.changes.size() || outcome.changes[next].message != diff.message)
      return "changes do not follow the non-informational diffs: " + diff.message;
    ++next;
  }
  return next == outcome.changes.size() ? "" : "more changes than non-informational diffs";
}

// A contract compared with itself is identical in every respect.
inline std::string check_itself(const TransformationContract& c) {
  if (!compatibility::compare::compare_contracts(c, c, ComparisonScope::every_aspect()).diffs.empty())
    return "a contract differs from itself:\n" + c.to_json();
  auto classified = compatibility::classify::analyze(c, c, ComparisonScope::every_aspect());
  if (classified.level != CompatibilityLevel::Identical || !classified.diagnostics.empty())
    return "a contract is not identical to itself: " + classified.to_json();
  auto evolved = compatibility::evolution::analyze_evolution(c, c);
  if (!evolved.changes.empty() || !evolved.migration_hints.empty() || !evolved.diagnostics.empty())
    return "a revision evolves from itself: " + evolved.to_json();
  return "";
}

// Queries named by the contract, so that they often hit something, plus
// names that are blank or unknown.
inline void run_lineage(const TransformationContract& c) {
  std::optional<std::string> input = " ", output;
  if (c.lineage && !c.lineage->mappings.empty()) {
    output = c.lineage->mappings.front().output;
    if (!c.lineage->mappings.front().inputs.empty()) input = c.lineage->mappings.front().inputs.front();
  }
  lineage::analysis::analyze_with_options(c, input, output).to_json();
  lineage::analysis::analyze_with_options(c, std::string(), std::nullopt).to_json();
}

inline std::string check_pair(const TransformationContract& a, const TransformationContract& b, ComparisonScope scope) {
  ComparisonOutcome forward = compatibility::compare::compare_contracts(a, b, scope);
  if (std::string problem = check_outcome(forward); !problem.empty()) return problem;
  auto classified = compatibility::classify::analyze(a, b, scope);
  if ((classified.level == CompatibilityLevel::Identical) != forward.changes.empty())
    return "level identical does not match an empty change list: " + classified.to_json();
  auto evolved = compatibility::evolution::analyze_evolution(a, b);
  auto every = compatibility::classify::analyze(a, b, ComparisonScope::every_aspect());
  if (evolved.compatibility != every.level) return "evolution and classification disagree: " + evolved.to_json();
  return "";
}

}  // namespace compare_detail

inline std::string check_compare(std::string_view bytes) {
  std::size_t split = bytes.starts_with("---") ? 0 : bytes.find("\n---");
  std::string_view first = bytes.substr(0, split);
  std::string_view second =
      split == std::string_view::npos ? std::string_view() : bytes.substr(bytes.find("---", split) + 3);
  auto a = parser::parse(first, parser::DocumentFormat::Yaml).contract;
  auto b = parser::parse(second, parser::DocumentFormat::Yaml).contract;
  for (const auto* c : {&a, &b}) {
    if (!*c) continue;
    if (std::string problem = compare_detail::check_itself(**c); !problem.empty()) return problem;
    compare_detail::run_lineage(**c);
  }
  if (!a || !b) return "";
  if (std::string problem = compare_detail::check_pair(*a, *b, compare_detail::scope_from(bytes)); !problem.empty())
    return problem;
  return compare_detail::check_pair(*b, *a, compare_detail::scope_from(bytes));
}

}  // namespace vorn::fuzz
