#pragma once
// Compatibility classification: how a target contract relates to a source
// contract within a scope, from the kinds of the differences found in both
// directions.

#include <cstddef>

#include "compatibility/compare.h"
#include "compatibility/report.h"

namespace vorn::compatibility::classify {

report::CompatibilityReport analyze(const model::TransformationContract& source,
                                    const model::TransformationContract& target, types::ComparisonScope scope);

// The same, for a caller that already holds the forward comparison
// (compare_contracts of source and target within `scope`).
report::CompatibilityReport analyze_with_forward(const compare::ComparisonOutcome& forward,
                                                 const model::TransformationContract& source,
                                                 const model::TransformationContract& target,
                                                 types::ComparisonScope scope);

// Inputs plus outputs plus the schema fields of every interface: how much
// surface a contract offers; it settles which way non-breaking changes lean.
std::size_t interface_footprint(const model::TransformationContract& contract);

}  // namespace vorn::compatibility::classify
