#pragma once
// Readers and writers of the value kinds that record key tables are made of.
// Each codec has read(reader, value) and write_field(writer, key, value); the
// latter applies the kind's omission rule.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/json_value.h"
#include "parser/event_reader.h"
#include "support/json_writer.h"

namespace vorn::parser {

// Plain text. YAML takes any scalar as written (null spellings included);
// JSON takes strings only.
bool read_text(EventReader& r, std::string& out);
// Null reads as absent, anything else as read_text.
bool read_optional_text(EventReader& r, std::optional<std::string>& out);
// JSON true/false; YAML only the plain boolean spellings.
bool read_bool(EventReader& r, bool& out);
bool read_optional_bool(EventReader& r, std::optional<bool>& out);
// Any value; non-finite numbers become null, objects sort their keys and
// keep the last value of a repeated key.
bool read_json_value(EventReader& r, model::JsonValue& out);
// A mapping whose repeated keys keep their first position and last value.
bool read_json_map(EventReader& r, model::JsonMap& out);
// Consumes the start of a list. False with the error set on a wrong shape;
// `has_items` is false for a YAML empty value (read as the empty list).
bool begin_list(EventReader& r, bool& has_items);

struct EnumSpec {
  std::string_view expected;  // "enum RulePhase"
  std::span<const std::string_view> names;
};
// Reads one of spec.names (also {"name": null} in JSON) as its index.
bool read_enum_index(EventReader& r, const EnumSpec& spec, std::size_t& index);

struct Text {
  static bool read(EventReader& r, std::string& v) { return read_text(r, v); }
  static void write_value(JsonWriter& w, const std::string& v) { w.string(v); }
  static void write_field(JsonWriter& w, std::string_view k, const std::string& v) {
    w.key(k);
    w.string(v);
  }
};

struct OptText {
  static bool read(EventReader& r, std::optional<std::string>& v) { return read_optional_text(r, v); }
  static void write_field(JsonWriter& w, std::string_view k, const std::optional<std::string>& v) {
    if (!v) return;
    w.key(k);
    w.string(*v);
  }
};

// A boolean with a default of false, always written.
struct Flag {
  static bool read(EventReader& r, bool& v) { return read_bool(r, v); }
  static void write_field(JsonWriter& w, std::string_view k, bool v) {
    w.key(k);
    w.boolean(v);
  }
};

// A boolean with a default of false, written only when true.
struct FlagIfTrue {
  static bool read(EventReader& r, bool& v) { return read_bool(r, v); }
  static void write_field(JsonWriter& w, std::string_view k, bool v) {
    if (v) Flag::write_field(w, k, v);
  }
};

struct OptFlag {
  static bool read(EventReader& r, std::optional<bool>& v) { return read_optional_bool(r, v); }
  static void write_field(JsonWriter& w, std::string_view k, const std::optional<bool>& v) {
    if (v) Flag::write_field(w, k, *v);
  }
};

// Rule parameters: written only when not empty.
struct Params {
  static bool read(EventReader& r, model::JsonMap& v) { return read_json_map(r, v); }
  static void write_field(JsonWriter& w, std::string_view k, const model::JsonMap& v) {
    if (v.empty()) return;
    w.key(k);
    w.begin_object();
    for (const auto& [name, value] : v) {
      w.key(name);
      w.json(value);
    }
    w.end_object();
  }
};

template <class Elem, bool kOmitEmpty = false>
struct List {
  template <class T>
  static bool read(EventReader& r, std::vector<T>& v) {
    bool has_items = false;
    const Event& start = r.peek();
    if (!begin_list(r, has_items)) return false;
    if (!has_items) return true;
    // Sized once: no record is moved, no capacity is left unused.
    v.reserve(v.size() + start.values);
    while (r.peek().kind != EventKind::SeqEnd) {
      if (!Elem::read(r, v.emplace_back())) return false;
    }
    r.take();
    return true;
  }
  template <class T>
  static void write_field(JsonWriter& w, std::string_view k, const std::vector<T>& v) {
    if (kOmitEmpty && v.empty()) return;
    w.key(k);
    w.begin_array();
    for (const T& item : v) Elem::write_value(w, item);
    w.end_array();
  }
};

template <class Elem>
using ListOmitEmpty = List<Elem, true>;

template <class E, const EnumSpec& kSpec>
struct Enum {
  static bool read(EventReader& r, E& v) {
    std::size_t index = 0;
    if (!read_enum_index(r, kSpec, index)) return false;
    v = static_cast<E>(index);
    return true;
  }
  static void write_value(JsonWriter& w, E v) { w.string(kSpec.names[static_cast<std::size_t>(v)]); }
  static void write_field(JsonWriter& w, std::string_view k, E v) {
    w.key(k);
    write_value(w, v);
  }
};

template <class E, const EnumSpec& kSpec>
struct OptEnum {
  static bool read(EventReader& r, std::optional<E>& v) {
    if (is_null(r.peek())) {
      r.take();
      v.reset();
      return true;
    }
    return Enum<E, kSpec>::read(r, v.emplace());
  }
  static void write_field(JsonWriter& w, std::string_view k, const std::optional<E>& v) {
    if (v) Enum<E, kSpec>::write_field(w, k, *v);
  }
};

}  // namespace vorn::parser
