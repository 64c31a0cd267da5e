#include "plan/optimize/result.h"

#include "support/json_writer.h"

namespace vorn::plan::optimize {

void TransformRecord::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("pass");
  w.string(pass);
  w.key("nodeId");
  w.string(node_id);
  w.key("description");
  w.string(description);
  w.end_object();
}

void OptimizeResult::serialize(JsonWriter& w) const {
  w.begin_object();
  if (plan) {
    w.key("plan");
    plan->serialize(w);
  }
  w.key("diagnostics");
  w.begin_array();
  for (const auto& d : diagnostics) d.serialize(w);
  w.end_array();
  if (!transforms.empty()) {
    w.key("transforms");
    w.begin_array();
    for (const auto& t : transforms) t.serialize(w);
    w.end_array();
  }
  w.end_object();
}

std::string OptimizeResult::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::plan::optimize
