#pragma once
// The key table of a model record: one row per declared key, each with its
// reader and writer. One generic reader and one writer (record_io.h) serve
// every record from these tables.

#include <span>
#include <string_view>

#include "model/json_value.h"

namespace vorn {
class JsonWriter;
}

namespace vorn::parser {

class EventReader;

template <class T>
struct FieldSpec {
  std::string_view key;
  bool required;
  bool (*read)(EventReader&, T&);
  // Writes "key":value, or nothing when the value is omitted.
  void (*write)(JsonWriter&, std::string_view key, const T&);
};

template <class T>
struct RecordSpec {
  std::string_view expected;  // "struct Rule"
  std::span<const FieldSpec<T>> fields;
  // Records that keep undeclared keys; they accept only mappings/objects.
  model::JsonMap T::*extensions = nullptr;
  // For JSON arrays given in a record's place: "struct Rule with 6 elements".
  std::string_view arity = {};
};

}  // namespace vorn::parser

// One row of a key table: `Codec` (value_codecs.h) reads and writes the
// member and decides whether it is written.
#define VORN_FIELD(Owner, key, member, Codec, required)                                  \
  ::vorn::parser::FieldSpec<Owner> {                                                     \
    key, required,                                                                       \
        [](::vorn::parser::EventReader& r, Owner& o) { return Codec::read(r, o.member); }, \
        [](::vorn::JsonWriter& w, std::string_view k, const Owner& o) {                  \
          Codec::write_field(w, k, o.member);                                            \
        }                                                                                \
  }
