#include "plan/lowering/plan_result.h"

#include "support/json_writer.h"

namespace vorn::plan::lowering {

void PlanResult::serialize(JsonWriter& w) const {
  w.begin_object();
  if (plan) {
    w.key("plan");
    plan->serialize(w);
  }
  w.key("diagnostics");
  w.begin_array();
  for (const auto& d : diagnostics) d.serialize(w);
  w.end_array();
  w.end_object();
}

std::string PlanResult::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::plan::lowering
