#include "diagnostics/report.h"

namespace vorn::diagnostics {

void DiagnosticReport::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("diagnostics");
  w.begin_array();
  for (const Diagnostic& d : diagnostics) d.serialize(w);
  w.end_array();
  w.end_object();
}

std::string DiagnosticReport::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::diagnostics
