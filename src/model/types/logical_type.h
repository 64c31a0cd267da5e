#pragma once
// Logical types: every type in a contract or registry is stored as text and
// parsed on demand into a LogicalType. Composite parameters stay text, so a
// parsed type is cheap to hold and compares by what was written.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace vorn::model::types {

struct LogicalType {
  // One of "string", "binary", "boolean", "integer", "decimal", "date",
  // "time", "datetime", "duration".
  struct Primitive {
    std::string name;
    bool operator==(const Primitive&) const = default;
  };
  // "list", "map", "tuple" or "object" with trimmed, non-empty parameter
  // texts that are each known to parse.
  struct Composite {
    std::string name;
    std::vector<std::string> parameters;
    bool operator==(const Composite&) const = default;
  };
  // A vendor-namespaced type: the whole trimmed declaration, brackets and
  // all; the bracketed part is never parsed.
  struct Extension {
    std::string text;
    bool operator==(const Extension&) const = default;
  };

  std::variant<Primitive, Composite, Extension> value;

  bool operator==(const LogicalType&) const = default;
  bool eq(const LogicalType& other) const { return *this == other; }
  LogicalType clone() const { return *this; }

  template <class V>
  const V* get_if() const { return std::get_if<V>(&value); }
};

struct TypeParseError {
  // Names nothing known: the whole trimmed text, or the trimmed text before
  // the first "<".
  struct UnknownType {
    std::string text;
    bool operator==(const UnknownType&) const = default;
  };
  // A bare composite name.
  struct MissingTypeParameters {
    std::string name;
    bool operator==(const MissingTypeParameters&) const = default;
  };
  // "type is empty", the whole trimmed declaration, or the parameter text
  // that held nothing but commas and blanks.
  struct Malformed {
    std::string detail;
    bool operator==(const Malformed&) const = default;
  };
  // The trimmed parameter text that failed; its own error is not kept.
  struct UnknownNestedParameter {
    std::string parameter;
    bool operator==(const UnknownNestedParameter&) const = default;
  };
  // expected is "exactly 1", "exactly 2" or "at least 1".
  struct ArityMismatch {
    std::string name;
    std::string expected;
    std::size_t found = 0;
    bool operator==(const ArityMismatch&) const = default;
  };

  std::variant<UnknownType, MissingTypeParameters, Malformed, UnknownNestedParameter,
               ArityMismatch>
      value;

  bool operator==(const TypeParseError&) const = default;

  template <class V>
  const V* get_if() const { return std::get_if<V>(&value); }
};

// A parsed value or the TypeParseError that stopped the parse.
template <class T>
class TypeResult {
 public:
  TypeResult(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  TypeResult(TypeParseError error) : v_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  const TypeParseError& error() const { return std::get<1>(v_); }

 private:
  std::variant<T, TypeParseError> v_;
};

enum class TypeCompatibility : std::uint8_t { Compatible = 0, Lossy = 1, Incompatible = 2 };

// Exact, case-sensitive membership in the nine primitive names and the four
// composite names; together they are the 13 built-in type names.
bool is_primitive_type_name(std::string_view name);
bool is_composite_type_name(std::string_view name);

// Never recurses and stays linear in the text length, however deep the
// nesting.
TypeResult<LogicalType> parse_logical_type(std::string_view text);

// Splits at the commas outside any angle brackets, trimming each piece and
// dropping empty ones. Fails with Malformed (the text as passed) when no
// piece is left.
TypeResult<std::vector<std::string>> split_type_parameters(std::string_view parameter_text);

// Empty on success, else ArityMismatch. Unknown names always pass.
std::optional<TypeParseError> validate_composite_arity(std::string_view name, std::size_t count);

// A trimmed vendor-namespaced identifier whose namespace is not a built-in
// type name.
bool is_extension_type_identifier(std::string_view text);

TypeCompatibility type_compatible(const LogicalType& from, const LogicalType& to);

}  // namespace vorn::model::types
