#pragma once
// The one reader and the one writer of model records, driven by each
// record's key table (record_spec.h). Every record has a static spec().

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <fmt/format.h>

#include "parser/record_spec.h"
#include "parser/value_codecs.h"

namespace vorn::parser {

namespace detail {

inline constexpr std::size_t kMaxFields = 32;

template <class T>
int find_field(const RecordSpec<T>& spec, std::string_view key) {
  for (std::size_t i = 0; i < spec.fields.size(); ++i)
    if (spec.fields[i].key == key) return static_cast<int>(i);
  return -1;
}

template <class T>
bool check_required(EventReader& r, const RecordSpec<T>& spec, const bool* seen, const Event& at) {
  for (std::size_t i = 0; i < spec.fields.size(); ++i) {
    if (spec.fields[i].required && !seen[i])
      return r.fail(fmt::format("missing field `{}`", spec.fields[i].key), at);
  }
  return true;
}

// Undeclared keys are turned into JSON values only after the record's last
// key, so that a missing required key is reported first.
template <class T>
bool read_extensions(EventReader& r, const tsl::ordered_map<std::string, std::size_t>& pending,
                     model::JsonMap& out) {
  std::size_t resume = r.position();
  for (const auto& [key, pos] : pending) {
    r.seek(pos);
    if (!read_json_value(r, out[key])) return false;
  }
  r.seek(resume);
  return true;
}

template <class T>
bool read_mapping(EventReader& r, T& out, const RecordSpec<T>& spec) {
  bool seen[kMaxFields] = {};
  tsl::ordered_map<std::string, std::size_t> pending;
  r.take();
  while (r.peek().kind != EventKind::MapEnd) {
    const Event& key = r.peek();
    if (key.kind != EventKind::Scalar || (r.is_json() && key.type != ScalarType::String))
      return r.fail_invalid_type(key, "a string");
    std::string_view name = r.text(key);
    r.take();
    int i = find_field(spec, name);
    if (i >= 0) {
      if (seen[i]) return r.fail(fmt::format("duplicate field `{}`", name), key);
      seen[i] = true;
      if (!spec.fields[i].read(r, out)) return false;
    } else {
      if (spec.extensions) pending[std::string(name)] = r.position();
      r.skip_value();
    }
  }
  const Event& end = r.take();
  if (!check_required(r, spec, seen, end)) return false;
  return !spec.extensions || read_extensions<T>(r, pending, out.*spec.extensions);
}

// JSON only: the record's values in declaration order.
template <class T>
bool read_array(EventReader& r, T& out, const RecordSpec<T>& spec) {
  r.take();
  std::size_t n = 0;
  for (; n < spec.fields.size() && r.peek().kind != EventKind::SeqEnd; ++n) {
    if (!spec.fields[n].read(r, out)) return false;
  }
  if (r.peek().kind != EventKind::SeqEnd) return r.fail("trailing characters", r.peek());
  const Event& end = r.take();
  for (std::size_t i = n; i < spec.fields.size(); ++i) {
    if (spec.fields[i].required)
      return r.fail(fmt::format("invalid length {}, expected {}", n, spec.arity), end);
  }
  return true;
}

}  // namespace detail

template <class T>
bool read_record(EventReader& r, T& out) {
  const RecordSpec<T>& spec = T::spec();
  const Event& e = r.peek();
  if (e.kind == EventKind::MapStart) return detail::read_mapping(r, out, spec);
  if (e.kind == EventKind::SeqStart && r.is_json() && !spec.extensions)
    return detail::read_array(r, out, spec);
  if (e.kind == EventKind::Scalar && e.empty) {
    // A YAML empty value is a record without keys.
    bool seen[detail::kMaxFields] = {};
    r.take();
    return detail::check_required(r, spec, seen, e);
  }
  return r.fail_invalid_type(e, spec.expected);
}

// The members of a record without the braces around them.
template <class T>
void write_members(JsonWriter& w, const T& value) {
  const RecordSpec<T>& spec = T::spec();
  for (const FieldSpec<T>& f : spec.fields) f.write(w, f.key, value);
  if (spec.extensions) {
    for (const auto& [key, v] : value.*spec.extensions) {
      w.key(key);
      w.json(v);
    }
  }
}

template <class T>
void write_record(JsonWriter& w, const T& value) {
  w.begin_object();
  write_members(w, value);
  w.end_object();
}

// The tagged form: the key `kind` with the tag first, then the record's own
// members as the plain form writes them.
template <class T>
void write_tagged_record(JsonWriter& w, std::string_view tag, const T& value) {
  w.begin_object();
  w.key("kind");
  w.string(tag);
  write_members(w, value);
  w.end_object();
}

// A record that must be present (list elements).
template <class T>
struct Record {
  static bool read(EventReader& r, T& v) { return read_record(r, v); }
  static void write_value(JsonWriter& w, const T& v) { write_record(w, v); }
  static void write_field(JsonWriter& w, std::string_view k, const T& v) {
    w.key(k);
    write_record(w, v);
  }
};

// An optional block: null reads as absent; written only when present.
template <class T>
struct OptRecord {
  static bool read(EventReader& r, std::optional<T>& v) {
    if (is_null(r.peek())) {
      r.take();
      v.reset();
      return true;
    }
    return read_record(r, v.emplace());
  }
  static void write_field(JsonWriter& w, std::string_view k, const std::optional<T>& v) {
    if (v) Record<T>::write_field(w, k, *v);
  }
};

}  // namespace vorn::parser
