#include "validation/stdlib_definition.h"

#include "parser/json_events.h"
#include "parser/record_io.h"

namespace vorn::validation::stdlib_definition {
namespace {

using parser::Event;
using parser::EventKind;
using parser::EventReader;
using parser::Flag;
using parser::List;
using parser::OptFlag;
using parser::OptText;
using parser::Record;
using parser::ScalarType;
using parser::Text;

// An unsigned integer; null reads as absent.
struct OptUnsigned {
  static bool read(EventReader& r, std::optional<std::uint64_t>& v) {
    const Event& e = r.peek();
    if (parser::is_null(e)) {
      v.reset();
    } else if (e.kind == EventKind::Scalar && e.type == ScalarType::Int && r.number(e).integer >= 0) {
      v = static_cast<std::uint64_t>(r.number(e).integer);
    } else if (e.kind == EventKind::Scalar && e.type == ScalarType::UInt) {
      v = r.number(e).unsigned_integer;
    } else {
      return r.fail_invalid_type(e, "an unsigned integer");
    }
    r.take();
    return true;
  }
  static void write_field(JsonWriter& w, std::string_view k, const std::optional<std::uint64_t>& v) {
    if (!v) return;
    w.key(k);
    w.unsigned_integer(*v);
  }
};

// A list that may be absent; null reads as absent.
template <class Elem>
struct OptList {
  template <class T>
  static bool read(EventReader& r, std::optional<std::vector<T>>& v) {
    if (parser::is_null(r.peek())) {
      r.take();
      v.reset();
      return true;
    }
    return List<Elem>::read(r, v.emplace());
  }
  template <class T>
  static void write_field(JsonWriter& w, std::string_view k, const std::optional<std::vector<T>>& v) {
    if (v) List<Elem>::write_field(w, k, *v);
  }
};

constexpr std::string_view kKindNames[] = {"semanticAction", "rule", "function"};
constexpr parser::EnumSpec kKind{"a definition kind", kKindNames};

// Leaves the reader on the value of the one top-level "kind" key.
bool find_kind(EventReader& r) {
  const Event& start = r.peek();
  if (start.kind != EventKind::MapStart) return r.fail_invalid_type(start, "a map");
  r.take();
  std::size_t kind_at = 0;
  while (r.peek().kind != EventKind::MapEnd) {
    const Event& key = r.take();
    if (r.text(key) == "kind") {
      if (kind_at != 0) return r.fail("duplicate field `kind`", key);
      kind_at = r.position();
    }
    r.skip_value();
  }
  if (kind_at == 0) return r.fail("missing field `kind`", r.peek());
  r.seek(kind_at);
  return true;
}

bool read_definition(EventReader& r, StdlibDefinition& out) {
  if (!find_kind(r)) return false;
  const Event& tag = r.peek();
  if (tag.kind != EventKind::Scalar || tag.type != ScalarType::String) return r.fail_invalid_type(tag, "a string");
  std::size_t kind = 0;
  if (!parser::read_enum_index(r, kKind, kind)) return false;
  r.seek(0);
  switch (kind) {
    case 0: return parser::read_record(r, out.value.emplace<StdlibDefinition::SemanticAction>());
    case 1: return parser::read_record(r, out.value.emplace<StdlibDefinition::Rule>());
    default: return parser::read_record(r, out.value.emplace<StdlibDefinition::Function>());
  }
}

}  // namespace

const parser::RecordSpec<StdlibParameter>& StdlibParameter::spec() {
  using T = StdlibParameter;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "name", name, Text, true),
      VORN_FIELD(T, "type", type, Text, true),
      VORN_FIELD(T, "optional", optional, Flag, false),
  };
  static const parser::RecordSpec<T> spec{"struct StdlibParameter", fields, nullptr,
                                          "struct StdlibParameter with 3 elements"};
  return spec;
}

const parser::RecordSpec<StdlibDefinition::SemanticAction>& StdlibDefinition::SemanticAction::spec() {
  using T = SemanticAction;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "targetType", target_type, OptText, false),
      VORN_FIELD(T, "targetNullableAllowed", target_nullable_allowed, OptFlag, false),
  };
  static const parser::RecordSpec<T> spec{"struct SemanticAction", fields};
  return spec;
}

const parser::RecordSpec<StdlibDefinition::Rule>& StdlibDefinition::Rule::spec() {
  using T = Rule;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "phases", phases, OptList<Text>, false),
      VORN_FIELD(T, "targetType", target_type, OptText, false),
      VORN_FIELD(T, "targetNullableAllowed", target_nullable_allowed, OptFlag, false),
      VORN_FIELD(T, "parameters", parameters, OptList<Record<StdlibParameter>>, false),
  };
  static const parser::RecordSpec<T> spec{"struct Rule", fields};
  return spec;
}

const parser::RecordSpec<StdlibDefinition::Function>& StdlibDefinition::Function::spec() {
  using T = Function;
  static const parser::FieldSpec<T> fields[] = {
      VORN_FIELD(T, "minArgs", min_args, OptUnsigned, false),
      VORN_FIELD(T, "maxArgs", max_args, OptUnsigned, false),
      VORN_FIELD(T, "argTypes", arg_types, List<Text>, false),
      VORN_FIELD(T, "returnType", return_type, Text, true),
      VORN_FIELD(T, "returnNullable", return_nullable, OptFlag, false),
  };
  static const parser::RecordSpec<T> spec{"struct Function", fields};
  return spec;
}

Result<StdlibDefinition> StdlibDefinition::deserialize(std::string_view text) {
  Result<parser::EventStream> events = parser::json::read_events(text);
  if (!events) return Error{std::move(events).take_error()};
  EventReader reader(*events);
  StdlibDefinition definition;
  if (!read_definition(reader, definition)) return Error{reader.error()};
  return definition;
}

}  // namespace vorn::validation::stdlib_definition
