#include "parser/json_events.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "parser/json_input.h"
#include "parser/json_scan.h"
#include "support/byte_scan.h"

namespace vorn::parser::json {
namespace {

using nlohmann::json;

// nlohmann stops with error 406 on a number that overflows a double. We keep
// such numbers as infinities instead: the collector records the value, then
// parsing resumes right after the number from a synthetic prefix that puts
// the parser back at the same nesting ("[", "{\"\":" per open level, then
// "null" in place of the number). The prefix's own events are dropped.
constexpr int kNumberOverflow = 406;
constexpr std::size_t kNoResume = static_cast<std::size_t>(-1);

bool is_digit(char c) { return c >= '0' && c <= '9'; }


// Receives nlohmann's SAX callbacks and turns them into an EventStream.
class EventCollector {
 public:
  // With `positions`, records where each event is and stops after
  // `stop_after` events.
  explicit EventCollector(std::string_view bytes, std::vector<TextPosition>* positions = nullptr,
                          std::size_t stop_after = 0)
      : bytes_(bytes), locator_(bytes), positions_(positions), stop_after_(stop_after) {
    cursor_.pos = bytes.data();
    out_.format = DocumentFormat::Json;
    out_.source = bytes;
    // An event per 8 bytes or more is typical.
    out_.events.reserve_first(bytes.size() / 8);
  }

  Result<EventStream> run();

  // The SAX interface. Only null, keys and container starts can come from a
  // resume prefix, so only they check skipped().
  bool null() {
    return skipped() || store(make(EventKind::Scalar, ScalarType::Null), last_read());
  }
  bool boolean(bool b) {
    Event e = make(EventKind::Scalar, ScalarType::Bool);
    e.boolean = b;
    return store(e, last_read());
  }
  bool number_integer(std::int64_t i) { return add_number(ScalarType::Int, number_end(), Number{.integer = i}); }
  bool number_unsigned(std::uint64_t u);
  bool number_float(double d, const std::string& /*as_written*/) {
    return add_number(ScalarType::Float, number_end(), Number{.number = d});
  }
  bool string(std::string& s) { return add_string(s); }
  bool key(std::string& s) { return skipped() || add_string(s); }
  bool binary(json::binary_t& /*unused*/) { return false; }  // not produced by JSON text
  bool start_object(std::size_t /*unknown_size*/) { return open(EventKind::MapStart); }
  bool end_object() { return close(EventKind::MapEnd); }
  bool start_array(std::size_t /*unknown_size*/) { return open(EventKind::SeqStart); }
  bool end_array() { return close(EventKind::SeqEnd); }
  bool parse_error(std::size_t position, const std::string& last_token,
                   const nlohmann::detail::exception& ex);

 private:
  bool parse_segment(const char* real_start, const std::string& prefix);
  std::string resume_prefix();

  bool skipped() {
    if (skip_ == 0) return false;
    --skip_;
    return true;
  }
  const char* last_read() const { return cursor_.pos - 1; }
  // The lexer reads one byte past a number to see where it ends (unless the
  // input ends there); a valid number always ends in a digit.
  const char* number_end() const {
    const char* last = last_read();
    return is_digit(*last) ? last : last - 1;
  }
  // Byte offset into the real input for a lexer position (bytes read in the
  // current segment, resume prefix included).
  std::size_t real_offset(std::size_t position) const {
    std::size_t past_prefix = position > prefix_length_ ? position - prefix_length_ : 0;
    return segment_start_ + past_prefix;
  }

  static Event make(EventKind kind, ScalarType type);
  // Events are made whole before they are stored: the array is written
  // once, never read back while it is built. `at` is where the event is, for
  // error texts: recorded only when the collector locates events.
  bool store(const Event& e, const char* at);
  bool add_number(ScalarType type, const char* at, Number value);
  bool add_string(const std::string& s);
  bool has_room_for(std::size_t text_size);
  bool open(EventKind kind);
  bool close(EventKind kind);
  bool fail_at(const char* at, std::string_view message);
  std::size_t synthetic_echo(const std::string& last_token, std::size_t through) const;

  std::string_view bytes_;
  LineLocator locator_;
  std::vector<TextPosition>* positions_;
  std::size_t stop_after_;
  ReadCursor cursor_;
  EventStream out_;
  struct OpenContainer {
    std::uint32_t start;  // index of the MapStart/SeqStart
    std::uint32_t values;
  };
  std::vector<OpenContainer> open_;
  std::string error_;
  std::size_t resume_at_ = kNoResume;
  std::size_t skip_ = 0;
  std::size_t segment_start_ = 0;
  std::size_t prefix_length_ = 0;
};

Event EventCollector::make(EventKind kind, ScalarType type) {
  Event e;
  e.kind = kind;
  e.type = type;
  return e;
}

bool EventCollector::store(const Event& e, const char* at) {
  out_.events.push_back(e);
  if (e.kind == EventKind::Scalar && !open_.empty()) ++open_.back().values;
  if (!positions_) return true;
  positions_->push_back(locator_.locate(std::clamp(at, bytes_.data(), bytes_.data() + bytes_.size())));
  return positions_->size() < stop_after_;
}

// Offsets into made_text are 32-bit.
bool EventCollector::has_room_for(std::size_t text_size) {
  if (out_.made_text.size() + text_size + sizeof(Number) < std::numeric_limits<std::uint32_t>::max()) return true;
  error_ = "document too large";
  return false;
}

bool EventCollector::add_number(ScalarType type, const char* at, Number value) {
  if (!has_room_for(0)) return false;
  Event e = make(EventKind::Scalar, type);
  e.made = true;
  e.text_offset = out_.make_text({}, &value);
  return store(e, at);
}

// A string written without escapes is its own text in the document: it ends
// at the closing quote just read and starts right after an opening quote.
// (Were that quote escaped, the value would hold it too and be longer.)
bool EventCollector::add_string(const std::string& s) {
  const char* close = last_read();
  Event e = make(EventKind::Scalar, ScalarType::String);
  e.text_length = static_cast<std::uint32_t>(s.size());
  std::size_t end = static_cast<std::size_t>(close - bytes_.data());
  if (close >= bytes_.data() && end < bytes_.size() && end > s.size() && bytes_[end - s.size() - 1] == '"' &&
      bytes::same_without(bytes_.data() + end - s.size(), s.data(), s.size(), '\\')) {
    e.text_offset = static_cast<std::uint32_t>(end - s.size());
  } else {
    if (!has_room_for(s.size())) return false;
    e.made = true;
    e.text_offset = out_.make_text(s);
  }
  return store(e, close);
}

bool EventCollector::number_unsigned(std::uint64_t u) {
  if (u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return number_integer(static_cast<std::int64_t>(u));
  }
  return add_number(ScalarType::UInt, number_end(), Number{.unsigned_integer = u});
}

bool EventCollector::open(EventKind kind) {
  if (skipped()) return true;
  if (open_.size() >= static_cast<std::size_t>(kMaxNesting)) {
    return fail_at(last_read(), "recursion limit exceeded");
  }
  open_.push_back({static_cast<std::uint32_t>(out_.events.size()), 0});
  return store(make(kind, ScalarType::Null), last_read());
}

bool EventCollector::close(EventKind kind) {
  Event& start = out_.events[open_.back().start];
  start.end = static_cast<std::uint32_t>(out_.events.size());
  start.values = open_.back().values;
  open_.pop_back();
  // The closed container is one more value of its own container.
  if (open_.size() > 0) ++open_.back().values;
  return store(make(kind, ScalarType::Null), last_read());
}

bool EventCollector::fail_at(const char* at, std::string_view message) {
  TextPosition where = locator_.locate(at);
  error_ = fmt::format("{} at line {} column {}", message, where.line, where.column);
  return false;
}

bool EventCollector::parse_error(std::size_t position, const std::string& last_token,
                                 const nlohmann::detail::exception& ex) {
  if (!error_.empty()) return false;
  // One past the last byte the lexer looked at; the end of input counts as a
  // byte, so this is at least 1 and at most size + 1.
  std::size_t through = std::min(real_offset(position), bytes_.size() + 1);
  if (through == 0) through = 1;
  const char* at = bytes_.data() + (through - 1);
  if (ex.id == kNumberOverflow) {
    bool negative = !last_token.empty() && last_token[0] == '-';
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    add_number(ScalarType::Float, at, Number{.number = negative ? -kInfinity : kInfinity});
    resume_at_ = through;
    return false;
  }
  return fail_at(at, parse_error_text(ex.what(), last_token, synthetic_echo(last_token, through)));
}

std::size_t EventCollector::synthetic_echo(const std::string& last_token, std::size_t through) const {
  if (prefix_length_ == 0) return 0;
  // The lexer echoes every byte it read since its last string or number,
  // which after a resume may reach back into the prefix. All real bytes
  // read in this segment, as the lexer escapes them (control characters
  // become <U+XXXX>), bound the real part; the rest is ours.
  std::size_t real_end = std::min(through, bytes_.size());
  std::string_view real = bytes_.substr(segment_start_, real_end - segment_start_);
  std::size_t escaped = real.size();
  for (char c : real) {
    if (static_cast<unsigned char>(c) <= 0x1F) escaped += 7;
  }
  return last_token.size() > escaped ? last_token.size() - escaped : 0;
}

bool EventCollector::parse_segment(const char* real_start, const std::string& prefix) {
  segment_start_ = static_cast<std::size_t>(real_start - bytes_.data());
  prefix_length_ = prefix.size();
  const char* end = bytes_.data() + bytes_.size();
  if (prefix.empty()) {
    return json::sax_parse(CountingIterator<false>(real_start, &cursor_), CountingIterator<false>(end, &cursor_),
                           this, json::input_format_t::json, /*strict=*/true);
  }
  CountingIterator<true> first(prefix.data(), &cursor_, prefix.data() + prefix.size(), real_start);
  return json::sax_parse(first, CountingIterator<true>(end, &cursor_), this, json::input_format_t::json,
                         /*strict=*/true);
}

std::string EventCollector::resume_prefix() {
  std::string prefix;
  skip_ = 1;  // the placeholder null
  for (const OpenContainer& open : open_) {
    bool is_map = out_.events[open.start].kind == EventKind::MapStart;
    prefix += is_map ? "{\"\":" : "[";
    skip_ += is_map ? 2 : 1;
  }
  prefix += "null";
  return prefix;
}

Result<EventStream> EventCollector::run() {
  std::string prefix;
  const char* start = bytes_.data();
  while (!parse_segment(start, prefix)) {
    if (!error_.empty()) return Error{std::move(error_)};
    if (positions_ && positions_->size() >= stop_after_) break;  // located
    if (resume_at_ == kNoResume) return Error{"invalid JSON"};
    start = bytes_.data() + std::min(resume_at_, bytes_.size());
    resume_at_ = kNoResume;
    prefix = resume_prefix();
  }
  // The parser takes a NUL byte for the end of its input. Any NUL before the
  // end of the value fails there, so one found now follows the value, and
  // so would whatever comes after it.
  if (const void* nul = std::memchr(bytes_.data(), '\0', bytes_.size()); nul && !positions_) {
    fail_at(static_cast<const char*>(nul), "trailing characters");
    return Error{std::move(error_)};
  }
  return std::move(out_);
}

}  // namespace

Result<EventStream> read_events(std::string_view bytes) {
  // Offsets, lengths and columns are 32-bit.
  if (bytes.size() >= std::numeric_limits<std::uint32_t>::max()) return Error{"document too large"};
  try {
    if (auto common = scan_common(bytes)) return std::move(*common);
  } catch (const std::bad_alloc&) {
    return Error{"out of memory while reading JSON"};
  }
  return read_events_by_parser(bytes);
}

Result<EventStream> read_events_by_parser(std::string_view bytes) {
  if (bytes.size() >= std::numeric_limits<std::uint32_t>::max()) return Error{"document too large"};
  try {
    EventCollector collector(bytes);
    return collector.run();
  } catch (const nlohmann::json::exception& ex) {
    return Error{parse_error_text(ex.what(), {}, 0)};
  } catch (const std::bad_alloc&) {
    return Error{"out of memory while reading JSON"};
  } catch (const std::exception& ex) {
    return Error{ex.what()};
  }
}

TextPosition event_position(std::string_view bytes, std::size_t index) {
  std::vector<TextPosition> positions;
  try {
    EventCollector(bytes, &positions, index + 1).run();
  } catch (const std::exception&) {
  }
  return index < positions.size() ? positions[index] : TextPosition{};
}

}  // namespace vorn::parser::json
