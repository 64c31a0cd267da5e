#pragma once
// The one shape both front ends produce: a flat stream of document events.
// Record readers consume it without knowing which text format it came from,
// except where the reading rules themselves differ between YAML and JSON.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "parser/document_format.h"

namespace vorn::parser {

enum class EventKind : std::uint8_t { Scalar, MapStart, MapEnd, SeqStart, SeqEnd };

// The type of a scalar, decided by the front end before any record sees it:
// JSON by its syntax, YAML plain scalars by the core schema (quoted YAML
// scalars are always strings).
enum class ScalarType : std::uint8_t { Null, Bool, Int, UInt, Float, String };

struct Event {
  EventKind kind = EventKind::Scalar;
  ScalarType type = ScalarType::Null;
  // YAML only: the scalar was written without quotes.
  bool plain = false;
  // YAML only: a plain scalar with no text at all (an empty value).
  bool empty = false;
  // 1-based position of the event in the source, for error texts.
  std::uint32_t line = 0;
  std::uint32_t column = 0;
  // Scalars: the text as written (YAML, after unquoting) or the string value
  // (JSON strings), as a range of EventStream::text.
  std::uint32_t text_offset = 0;
  std::uint32_t text_length = 0;
  // MapStart/SeqStart: index of the matching MapEnd/SeqEnd.
  std::uint32_t end = 0;
  union {
    bool boolean;
    std::int64_t integer;
    std::uint64_t unsigned_integer;
    double number;
  };
  Event() : integer(0) {}
};

// Exactly one top-level value. Mapping keys are scalar events followed by
// their value; keys repeat as written, in document order.
struct EventStream {
  DocumentFormat format = DocumentFormat::Yaml;
  std::vector<Event> events;
  std::string text;

  std::string_view text_of(const Event& e) const {
    return std::string_view(text).substr(e.text_offset, e.text_length);
  }
};

// Nesting deeper than this many mappings and sequences is refused by both
// front ends, so that every reader above them may recurse safely.
inline constexpr int kMaxNesting = 128;

}  // namespace vorn::parser
