#include "analysis/finding.h"

#include <algorithm>

#include "support/json_writer.h"

namespace vorn::analysis {

bool AnalysisFinding::operator==(const AnalysisFinding& other) const {
  if (object_ref != other.object_ref || kind != other.kind || message != other.message) return false;
  auto same_entry = [](const auto& a, const auto& b) {
    return a.first == b.first && model::json_equal(a.second, b.second);
  };
  return std::equal(attributes.begin(), attributes.end(), other.attributes.begin(), other.attributes.end(),
                    same_entry);
}

void AnalysisFinding::serialize(JsonWriter& w) const {
  w.begin_object();
  w.key("objectRef");
  w.string(object_ref);
  w.key("kind");
  w.string(kind);
  w.key("message");
  w.string(message);
  if (!attributes.empty()) {
    w.key("attributes");
    w.begin_object();
    for (const auto& [key, value] : attributes) {
      w.key(key);
      w.json(value);
    }
    w.end_object();
  }
  w.end_object();
}

std::string AnalysisFinding::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::analysis
