#pragma once
// Contract comparison: every difference between a source contract and a
// target contract within a scope, as findings with a kind and a category.
// Within one step, records come in the order they first appear in the
// target, then those only the source has, so two runs always agree.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compatibility/report.h"
#include "compatibility/types.h"
#include "model/contract.h"

namespace vorn::compatibility::compare {

// How a difference bears on compatibility. Never written out.
enum class DiffKind : std::uint8_t { Informational = 0, NonBreaking = 1, Breaking = 2, Conditional = 3 };

struct InternalDiff {
  std::string message;
  std::optional<std::string> object_ref;
  DiffKind kind = DiffKind::Informational;
  types::ChangeCategory category = types::ChangeCategory::Metadata;

  bool operator==(const InternalDiff&) const = default;
};

struct ComparisonOutcome {
  std::vector<InternalDiff> diffs;                // every finding, in the order found
  std::vector<report::ContractChange> changes;    // the non-informational ones, same order

  // Every finding goes through here, so that `changes` follows `diffs`.
  void push(InternalDiff diff);
};

ComparisonOutcome compare_contracts(const model::TransformationContract& source,
                                    const model::TransformationContract& target, types::ComparisonScope scope);

// Field by field under `path` (such as "inputs.raw.schema").
void compare_schemas(std::string_view path, const model::Schema* source, const model::Schema* target,
                     ComparisonOutcome& outcome);

void compare_streaming(std::string_view path, std::optional<model::StreamingMode> source,
                       std::optional<model::StreamingMode> target, ComparisonOutcome& outcome);

// The rule ids of two condition lists, as sets; `label` names the kind of
// condition in the message ("precondition", "postcondition").
void compare_conditions(std::string_view path, const std::vector<model::InterfaceCondition>& source,
                        const std::vector<model::InterfaceCondition>& target, std::string_view label,
                        ComparisonOutcome& outcome);

}  // namespace vorn::compatibility::compare
