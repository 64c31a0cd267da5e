#include "parser/event_reader.h"

#include <charconv>
#include <cmath>

#include <fmt/format.h>

#include "parser/json_events.h"
#include "parser/yaml_events.h"

namespace vorn::parser {
namespace {

// Longer texts are cut, so that one huge scalar cannot make a huge message.
constexpr std::size_t kMaxQuoted = 200;

// A value quoted for a message: quotes and backslashes are escaped with a
// backslash, line feed, carriage return and tab read \n, \r and \t, and the
// other control characters (DEL too) \u{hex}; beyond kMaxQuoted bytes the
// text is cut at a character boundary and marked "...". So a value stays
// unambiguous beside the message's own words, and short.
std::string quote(std::string_view s) {
  bool cut = s.size() > kMaxQuoted;
  if (cut) {
    std::size_t end = kMaxQuoted;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;  // keep UTF-8 whole
    s = s.substr(0, end);
  }
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7f)
          out += fmt::format("\\u{{{:x}}}", c);
        else
          out.push_back(static_cast<char>(c));
    }
  }
  out += cut ? "\"..." : "\"";
  return out;
}

std::string describe_float(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, d);
  std::string s(buf, r.ptr);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

}  // namespace

void EventReader::skip_value() {
  const Event& e = peek();
  if (e.kind == EventKind::MapStart || e.kind == EventKind::SeqStart)
    pos_ = e.end + 1;
  else
    ++pos_;
}

TextPosition position_of(const EventStream& stream, const Event& e) {
  std::size_t index = stream.events.index_of(&e);
  if (stream.format == DocumentFormat::Yaml) return yaml::event_position(stream.source, index);
  return json::event_position(stream.source, index);
}

bool EventReader::fail(std::string_view message, const Event& at) {
  if (error_.empty()) {
    TextPosition where = position_of(stream_, at);
    error_ = fmt::format("{} at line {} column {}", message, where.line, where.column);
  }
  return false;
}

bool EventReader::fail_invalid_type(const Event& found, std::string_view expected) {
  return fail(fmt::format("invalid type: {}, expected {}", describe_value(stream_, found), expected), found);
}

std::string describe_value(const EventStream& stream, const Event& e) {
  switch (e.kind) {
    case EventKind::MapStart:
    case EventKind::MapEnd:
      return "map";
    case EventKind::SeqStart:
    case EventKind::SeqEnd:
      return "sequence";
    case EventKind::Scalar:
      break;
  }
  switch (e.type) {
    case ScalarType::Null: return "null";
    case ScalarType::Bool: return fmt::format("boolean `{}`", e.boolean ? "true" : "false");
    case ScalarType::Int: return fmt::format("integer `{}`", stream.number_of(e).integer);
    case ScalarType::UInt: return fmt::format("integer `{}`", stream.number_of(e).unsigned_integer);
    case ScalarType::Float: return fmt::format("floating point `{}`", describe_float(stream.number_of(e).number));
    case ScalarType::String: return "string " + quote(stream.text_of(e));
  }
  return "value";
}

}  // namespace vorn::parser
