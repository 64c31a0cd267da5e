#pragma once
// A transformation plan: a contract's identity and interfaces, one node per
// semantic action, expression and rule, the typed dependencies between
// them, its guarantees, and copies of the rest of the contract. A plan is a
// self-contained value: everything that works on plans needs nothing else.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/finding.h"
#include "model/function.h"
#include "model/interface.h"
#include "model/json_value.h"
#include "model/lineage.h"
#include "model/metadata.h"
#include "model/versioning.h"
#include "parser/record_spec.h"
#include "plan/model/dependency.h"
#include "plan/model/guarantees.h"
#include "plan/model/node.h"
#include "support/result.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::plan::model {

// The contract's document header.
struct PlanIdentity {
  std::string vorn_version;
  std::string id;
  std::string name;
  std::string version;

  bool operator==(const PlanIdentity&) const = default;
  static const parser::RecordSpec<PlanIdentity>& spec();
};

struct TransformationPlan {
  PlanIdentity identity;
  std::vector<vorn::model::Input> inputs;
  std::vector<vorn::model::Output> outputs;
  std::vector<vorn::model::Function> functions;
  std::vector<PlanNode> nodes;
  std::vector<PlanDependency> dependencies;
  std::optional<vorn::model::Lineage> lineage;
  PlanGuarantees guarantees;
  std::optional<vorn::model::Metadata> metadata;
  std::optional<vorn::model::Versioning> versioning;
  // The contract's undeclared top-level keys, in document order; on a plan
  // they are one ordinary key rather than spread over the top level.
  vorn::model::JsonMap extensions;
  std::vector<analysis::AnalysisFinding> findings;

  bool operator==(const TransformationPlan& other) const;
  static const parser::RecordSpec<TransformationPlan>& spec();

  // Reads one JSON text; the error carries the reading position.
  static Result<TransformationPlan> from_json(std::string_view text);
  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::plan::model
