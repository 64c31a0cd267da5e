#pragma once
// The root record of a contract document.

#include <optional>
#include <string>
#include <vector>

#include "model/action.h"
#include "model/expression.h"
#include "model/function.h"
#include "model/interface.h"
#include "model/json_value.h"
#include "model/lineage.h"
#include "model/metadata.h"
#include "model/rule.h"
#include "model/semantics.h"
#include "model/versioning.h"
#include "parser/event.h"
#include "parser/record_spec.h"
#include "support/optional_box.h"
#include "support/result.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::model {

struct TransformationContract {
  std::string vorn_version;
  std::string id;
  std::string name;
  std::string version;
  OptionalBox<Metadata> metadata;
  std::vector<Input> inputs;
  std::vector<Output> outputs;
  std::vector<SemanticAction> semantic_actions;
  std::vector<Expression> expressions;
  std::vector<Function> functions;
  std::vector<Rule> rules;
  std::optional<Lineage> lineage;
  std::optional<Versioning> versioning;
  std::optional<TransformationSemantics> semantics;
  JsonMap extensions;

  bool operator==(const TransformationContract& other) const;
  static const parser::RecordSpec<TransformationContract>& spec();

  // Reads the one top-level value of a decoded document.
  static Result<TransformationContract> deserialize(const parser::EventStream& events);
  void serialize(JsonWriter& w) const;
  std::string to_json() const;
};

}  // namespace vorn::model
