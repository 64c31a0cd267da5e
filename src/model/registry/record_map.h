#pragma once
// A mapping from text keys to records, in document order. A key met again
// keeps the position of its first occurrence and takes the later record.

#include <string>
#include <string_view>
#include <utility>

#include <tsl/ordered_map.h>

#include "parser/record_io.h"

namespace vorn::model::registry {

template <class T>
struct RecordMap {
  using Map = tsl::ordered_map<std::string, T>;

  static bool read(parser::EventReader& r, Map& out) {
    const parser::Event& e = r.peek();
    if (e.kind == parser::EventKind::Scalar && e.empty) {  // YAML empty value
      r.take();
      return true;
    }
    if (e.kind != parser::EventKind::MapStart) return r.fail_invalid_type(e, "a map");
    r.take();
    std::string key;
    while (r.peek().kind != parser::EventKind::MapEnd) {
      if (!read_key(r, key)) return false;
      // A fresh record each time, so that a repeated key starts from defaults.
      T value;
      if (!parser::read_record(r, value)) return false;
      out[key] = std::move(value);
    }
    r.take();
    return true;
  }

  static void write_field(JsonWriter& w, std::string_view k, const Map& map) {
    w.key(k);
    w.begin_object();
    for (const auto& [key, value] : map) {
      w.key(key);
      parser::write_record(w, value);
    }
    w.end_object();
  }

 private:
  // JSON keys are strings; a YAML key may be any scalar, taken as written.
  static bool read_key(parser::EventReader& r, std::string& key) {
    const parser::Event& k = r.peek();
    if (k.kind != parser::EventKind::Scalar || (r.is_json() && k.type != parser::ScalarType::String))
      return r.fail_invalid_type(k, "a string");
    key.assign(r.text(k));
    r.take();
    return true;
  }
};

}  // namespace vorn::model::registry
