#include "analysis/finding.h"

#include <algorithm>

#include "parser/record_io.h"
#include "support/json_writer.h"

namespace vorn::analysis {
namespace {

using Attributes = std::map<std::string, model::JsonValue>;

// A JSON object whose keys come out sorted; a repeated key keeps its last
// value. Written only when not empty.
struct AttributesCodec {
  static bool read(parser::EventReader& r, Attributes& v) {
    model::JsonMap read;
    if (!parser::read_json_map(r, read)) return false;
    for (auto& [key, value] : read) v[key] = std::move(value);
    return true;
  }
  static void write_field(JsonWriter& w, std::string_view k, const Attributes& v) {
    if (v.empty()) return;
    w.key(k);
    w.begin_object();
    for (const auto& [key, value] : v) {
      w.key(key);
      w.json(value);
    }
    w.end_object();
  }
};

}  // namespace

const parser::RecordSpec<AnalysisFinding>& AnalysisFinding::spec() {
  using T = AnalysisFinding;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "objectRef", object_ref, parser::Text, true),
      VORN_FIELD(T, "kind", kind, parser::Text, true),
      VORN_FIELD(T, "message", message, parser::Text, true),
      VORN_FIELD(T, "attributes", attributes, AttributesCodec, false),
  };
  static const parser::RecordSpec<T> spec{"struct AnalysisFinding", fields, nullptr,
                                          "struct AnalysisFinding with 4 elements"};
  return spec;
}

bool AnalysisFinding::operator==(const AnalysisFinding& other) const {
  if (object_ref != other.object_ref || kind != other.kind || message != other.message) return false;
  auto same_entry = [](const auto& a, const auto& b) {
    return a.first == b.first && model::json_equal(a.second, b.second);
  };
  return std::equal(attributes.begin(), attributes.end(), other.attributes.begin(), other.attributes.end(),
                    same_entry);
}

void AnalysisFinding::serialize(JsonWriter& w) const { parser::write_record(w, *this); }

std::string AnalysisFinding::to_json() const {
  JsonWriter w;
  serialize(w);
  return w.take();
}

}  // namespace vorn::analysis
