#pragma once
// What a plan's steps compute, without the ids that name them: the keys of
// its semantic actions and live expressions in execution order, and the set
// of its rule keys.

#include <set>
#include <string>
#include <vector>

#include "plan/model/plan.h"

namespace vorn::plan::equivalence {

struct SemanticFingerprint {
  // "action:<action>@<target>" and "expr:<normalized body>@<id>", in
  // execution order; an idempotent action repeating the key just before it
  // is left out.
  std::vector<std::string> node_keys;
  // "rule:<rule>@<target>:<phase>:<parameters>", each once.
  std::set<std::string> rule_keys;

  bool operator==(const SemanticFingerprint&) const = default;
};

// Both parts empty when the dependencies hold a cycle. An expression counts
// only when a dependency starts or ends at it: one that nothing reads from
// and that reads nothing does not change what the plan computes.
SemanticFingerprint semantic_fingerprint(const model::TransformationPlan& plan);

}  // namespace vorn::plan::equivalence
