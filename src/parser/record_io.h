#pragma once
// The one reader and the one writer of model records, driven by each
// record's key table (record_spec.h). Every record has a static spec().

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "parser/record_spec.h"
#include "parser/value_codecs.h"
#include "support/byte_scan.h"

namespace vorn::parser {

namespace detail {

inline constexpr std::size_t kMaxFields = 32;

// Declared keys are a few short words: their length and first byte settle
// most comparisons without a call.
template <class T>
int find_field(const RecordSpec<T>& spec, std::string_view key) {
  for (std::size_t i = 0; i < spec.fields.size(); ++i) {
    std::string_view declared = spec.fields[i].key;
    if (declared.size() == key.size() && declared[0] == key[0] &&
        bytes::same(declared.data(), key.data(), key.size()))
      return static_cast<int>(i);
  }
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

// An undeclared key and where its value starts.
struct PendingKey {
  std::string_view key;
  std::size_t value_at;
};

// Undeclared keys are turned into JSON values only after the record's last
// key, so that a missing required key is reported first. A repeated key
// keeps its first place and only its last value is read.
inline bool read_extensions(EventReader& r, const std::vector<PendingKey>& pending, model::JsonMap& out) {
  std::vector<std::size_t> value_at;
  for (const PendingKey& p : pending) {
    auto [it, added] = out.try_emplace(std::string(p.key));
    if (added)
      value_at.push_back(p.value_at);
    else
      value_at[static_cast<std::size_t>(it - out.begin())] = p.value_at;
  }
  std::size_t resume = r.position();
  for (std::size_t i = 0; i < value_at.size(); ++i) {
    r.seek(value_at[i]);
    if (!read_json_value(r, out.nth(i).value())) return false;
  }
  r.seek(resume);
  return true;
}

template <class T>
bool read_mapping(EventReader& r, T& out, const RecordSpec<T>& spec) {
  bool seen[kMaxFields] = {};
  std::vector<PendingKey> pending;
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
      if (spec.extensions) pending.push_back({name, r.position()});
      r.skip_value();
    }
  }
  const Event& end = r.take();
  if (!check_required(r, spec, seen, end)) return false;
  return pending.empty() || read_extensions(r, pending, out.*spec.extensions);
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

// An optional block, held in std::optional<T> or OptionalBox<T>: null reads
// as absent; written only when present.
template <class T>
struct OptRecord {
  template <class Holder>
  static bool read(EventReader& r, Holder& v) {
    if (is_null(r.peek())) {
      r.take();
      v.reset();
      return true;
    }
    return read_record(r, v.emplace());
  }
  template <class Holder>
  static void write_field(JsonWriter& w, std::string_view k, const Holder& v) {
    if (v) Record<T>::write_field(w, k, *v);
  }
};

}  // namespace vorn::parser
