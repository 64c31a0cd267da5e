#pragma once
// A cursor over an EventStream with the first reading error, shared by every
// record reader. Readers return false once they have failed; the error text
// already carries the position suffix.

#include <cstddef>
#include <string>
#include <string_view>

#include "parser/event.h"

namespace vorn::parser {

class EventReader {
 public:
  explicit EventReader(const EventStream& stream) : stream_(stream) {}

  const Event& peek() const { return stream_.events[pos_]; }
  const Event& take() { return stream_.events[pos_++]; }
  std::size_t position() const { return pos_; }
  void seek(std::size_t pos) { pos_ = pos; }
  bool at_end() const { return pos_ >= stream_.events.size(); }
  // Moves past one whole value: a scalar, or a container with its contents.
  void skip_value();

  std::string_view text(const Event& e) const { return stream_.text_of(e); }
  Number number(const Event& e) const { return stream_.number_of(e); }
  bool is_yaml() const { return stream_.format == DocumentFormat::Yaml; }
  bool is_json() const { return stream_.format == DocumentFormat::Json; }

  // Records `message` with the position of `at`; always returns false.
  bool fail(std::string_view message, const Event& at);
  // "invalid type: {found}, expected {expected}"
  bool fail_invalid_type(const Event& found, std::string_view expected);

  const std::string& error() const { return error_; }

 private:
  const EventStream& stream_;
  std::size_t pos_ = 0;
  std::string error_;
};

// How an unexpected value is named in "invalid type" errors: "null",
// "boolean `true`", "integer `5`", "floating point `1.5`", "string \"x\"",
// "map", "sequence".
std::string describe_value(const EventStream& stream, const Event& e);

// Null in the sense of the reading rules: JSON null, or a YAML plain scalar
// spelled as null (including an empty value).
inline bool is_null(const Event& e) {
  return e.kind == EventKind::Scalar && e.type == ScalarType::Null;
}

}  // namespace vorn::parser
