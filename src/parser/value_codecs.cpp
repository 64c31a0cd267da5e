#include "parser/value_codecs.h"

#include <cmath>

#include <fmt/format.h>

namespace vorn::parser {
namespace {

// "`a` or `b`", or "one of `a`, `b`, `c`".
std::string expected_variants(std::span<const std::string_view> names) {
  if (names.size() == 2) return fmt::format("`{}` or `{}`", names[0], names[1]);
  std::string out = "one of ";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i) out += ", ";
    out += fmt::format("`{}`", names[i]);
  }
  return out;
}

bool match_variant(EventReader& r, const EnumSpec& spec, const Event& at, std::size_t& index) {
  std::string_view name = r.text(at);
  for (std::size_t i = 0; i < spec.names.size(); ++i) {
    if (spec.names[i] == name) {
      index = i;
      return true;
    }
  }
  return r.fail(fmt::format("unknown variant `{}`, expected {}", name, expected_variants(spec.names)), at);
}

model::JsonValue scalar_value(const EventReader& r, const Event& e) {
  switch (e.type) {
    case ScalarType::Null: return nullptr;
    case ScalarType::Bool: return e.boolean;
    case ScalarType::Int: return r.number(e).integer;
    case ScalarType::UInt: return r.number(e).unsigned_integer;
    case ScalarType::Float: {
      double d = r.number(e).number;
      if (!std::isfinite(d)) return nullptr;
      return d;
    }
    case ScalarType::String: return std::string(r.text(e));
  }
  return nullptr;
}

// Keys of JSON objects and maps are texts; YAML scalars of any type give
// their text as written.
bool read_key(EventReader& r, std::string& key) {
  const Event& k = r.peek();
  if (k.kind != EventKind::Scalar || (r.is_json() && k.type != ScalarType::String))
    return r.fail_invalid_type(k, "a string");
  key.assign(r.text(k));
  r.take();
  return true;
}

}  // namespace

bool read_text(EventReader& r, std::string& out) {
  const Event& e = r.peek();
  if (e.kind != EventKind::Scalar || (r.is_json() && e.type != ScalarType::String))
    return r.fail_invalid_type(e, "a string");
  out.assign(r.text(e));
  r.take();
  return true;
}

bool read_optional_text(EventReader& r, std::optional<std::string>& out) {
  if (is_null(r.peek())) {
    r.take();
    out.reset();
    return true;
  }
  return read_text(r, out.emplace());
}

bool read_bool(EventReader& r, bool& out) {
  const Event& e = r.peek();
  if (e.kind != EventKind::Scalar || e.type != ScalarType::Bool)
    return r.fail_invalid_type(e, "a boolean");
  out = e.boolean;
  r.take();
  return true;
}

bool read_optional_bool(EventReader& r, std::optional<bool>& out) {
  if (is_null(r.peek())) {
    r.take();
    out.reset();
    return true;
  }
  return read_bool(r, out.emplace());
}

bool read_json_value(EventReader& r, model::JsonValue& out) {
  // Depth is bounded by the front ends' nesting limit.
  const Event& e = r.take();
  switch (e.kind) {
    case EventKind::Scalar:
      out = scalar_value(r, e);
      return true;
    case EventKind::SeqStart:
      out = model::JsonValue::array();
      while (r.peek().kind != EventKind::SeqEnd) {
        if (!read_json_value(r, out.emplace_back(nullptr))) return false;
      }
      r.take();
      return true;
    case EventKind::MapStart: {
      out = model::JsonValue::object();
      std::string key;
      while (r.peek().kind != EventKind::MapEnd) {
        if (!read_key(r, key)) return false;
        model::JsonValue value;
        if (!read_json_value(r, value)) return false;
        out[key] = std::move(value);
      }
      r.take();
      return true;
    }
    default:
      return r.fail("unexpected end of value", e);
  }
}

bool read_json_map(EventReader& r, model::JsonMap& out) {
  const Event& e = r.peek();
  if (e.kind == EventKind::Scalar && e.empty) {
    r.take();
    return true;
  }
  if (e.kind != EventKind::MapStart) return r.fail_invalid_type(e, "a map");
  r.take();
  std::string key;
  while (r.peek().kind != EventKind::MapEnd) {
    if (!read_key(r, key)) return false;
    if (!read_json_value(r, out[key])) return false;
  }
  r.take();
  return true;
}

bool begin_list(EventReader& r, bool& has_items) {
  const Event& e = r.peek();
  if (e.kind == EventKind::SeqStart) {
    r.take();
    has_items = true;
    return true;
  }
  if (e.kind == EventKind::Scalar && e.empty) {
    r.take();
    has_items = false;
    return true;
  }
  return r.fail_invalid_type(e, "a sequence");
}

bool read_enum_index(EventReader& r, const EnumSpec& spec, std::size_t& index) {
  const Event& e = r.peek();
  if (e.kind == EventKind::Scalar && !is_null(e) && (r.is_yaml() || e.type == ScalarType::String)) {
    if (!match_variant(r, spec, e, index)) return false;
    r.take();
    return true;
  }
  // JSON may also give the name as the one key of an object, valued null:
  // {"name": null}.
  if (r.is_json() && e.kind == EventKind::MapStart && e.end > r.position() + 1) {
    r.take();
    const Event& name = r.take();
    if (!match_variant(r, spec, name, index)) return false;
    if (!is_null(r.peek())) return r.fail_invalid_type(r.peek(), "unit variant");
    r.take();
    if (r.peek().kind != EventKind::MapEnd) return r.fail_invalid_type(e, spec.expected);
    r.take();
    return true;
  }
  return r.fail_invalid_type(e, spec.expected);
}

}  // namespace vorn::parser
