#include "analysis/report.h"

#include "support/json_writer.h"

namespace vorn::analysis {

void AnalysisReport::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("diagnostics");
  w.begin_array();
  for (const auto& d : diagnostics) d.serialize(w);
  w.end_array();
  w.key("findings");
  w.begin_array();
  for (const auto& f : findings) f.serialize(w);
  w.end_array();
  w.end_object();
}

std::string AnalysisReport::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::analysis
