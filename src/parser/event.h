#pragma once
// The one shape both front ends produce: a flat stream of document events.
// Record readers consume it without knowing which text format it came from,
// except where the reading rules themselves differ between YAML and JSON.
//
// An event is 12 bytes, for about every 6 bytes of a document: a stream is
// read once and thrown away, so it holds only what reading needs. Scalar
// texts stay in the document's bytes wherever they appear there as they are;
// numbers keep their value beside the texts that had to be made; positions
// are not kept at all, but found again when an error text asks for one.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "parser/document_format.h"
#include "support/chunked_vector.h"

namespace vorn::parser {

enum class EventKind : std::uint8_t { Scalar, MapStart, MapEnd, SeqStart, SeqEnd };

// The type of a scalar, decided by the front end before any record sees it:
// JSON by its syntax, YAML plain scalars by the core schema (quoted YAML
// scalars are always strings).
enum class ScalarType : std::uint8_t { Null, Bool, Int, UInt, Float, String };

// The value of an Int, UInt or Float scalar.
union Number {
  std::int64_t integer;
  std::uint64_t unsigned_integer;
  double number;
};

struct Event {
  union {
    // Scalars: where the text starts (in the document, or in made_text).
    std::uint32_t text_offset = 0;
    // MapStart/SeqStart: index of the matching MapEnd/SeqEnd.
    std::uint32_t end;
  };
  union {
    // Scalars: the length of the text as written (YAML, after unquoting) or
    // of the string value (JSON strings); 0 for JSON numbers.
    std::uint32_t text_length = 0;
    // MapStart/SeqStart: the number of values directly inside (keys and
    // values both, in a mapping).
    std::uint32_t values;
  };
  EventKind kind = EventKind::Scalar;
  ScalarType type = ScalarType::Null;
  // YAML only: the scalar was written without quotes.
  bool plain : 1 = false;
  // YAML only: a plain scalar with no text at all (an empty value).
  bool empty : 1 = false;
  // Bool scalars: the value.
  bool boolean : 1 = false;
  // The text lies in EventStream::made_text rather than in the document.
  bool made : 1 = false;

  Event() = default;
  // Made whole in one go, so that it can be stored without being read back.
  Event(EventKind kind, ScalarType type, std::uint32_t offset_or_end = 0, std::uint32_t length_or_values = 0,
        bool plain = false, bool empty = false, bool boolean = false, bool made = false)
      : text_offset(offset_or_end),
        text_length(length_or_values),
        kind(kind),
        type(type),
        plain(plain),
        empty(empty),
        boolean(boolean),
        made(made) {}
};
static_assert(sizeof(Event) == 12);

// Exactly one top-level value. Mapping keys are scalar events followed by
// their value; keys repeat as written, in document order. The stream refers
// to the document's bytes, which must outlive it.
struct EventStream {
  DocumentFormat format = DocumentFormat::Yaml;
  std::string_view source;
  ChunkedVector<Event> events;
  // Texts that differ from the document's bytes (unescaped, folded), each
  // number preceded by its 8-byte value.
  std::string made_text;

  std::string_view text_of(const Event& e) const {
    const std::string_view from = e.made ? std::string_view(made_text) : source;
    return from.substr(e.text_offset, e.text_length);
  }
  // Int, UInt and Float scalars only.
  Number number_of(const Event& e) const {
    Number n;
    std::memcpy(&n, made_text.data() + e.text_offset - sizeof n, sizeof n);
    return n;
  }
  // Appends `text` to made_text (after `number`, if given); returns its offset.
  std::uint32_t make_text(std::string_view text, const Number* number = nullptr) {
    if (number) made_text.append(reinterpret_cast<const char*>(number), sizeof *number);
    auto offset = static_cast<std::uint32_t>(made_text.size());
    made_text.append(text);
    return offset;
  }
};

struct TextPosition {
  std::uint32_t line = 1;
  std::uint32_t column = 1;
};

// The 1-based line and column of an event of the stream, as the front end
// that made it counts them (by reading the document again).
TextPosition position_of(const EventStream& stream, const Event& e);

// Nesting deeper than this many mappings and sequences is refused by both
// front ends, so that every reader above them may recurse safely.
inline constexpr int kMaxNesting = 128;

}  // namespace vorn::parser
