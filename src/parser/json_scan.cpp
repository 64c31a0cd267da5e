#include "parser/json_scan.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "support/byte_scan.h"
#include "support/unicode.h"

namespace vorn::parser::json {
namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Four hex digits at `p` (known to be there), or -1.
int hex4(const char* p) {
  int v = 0;
  for (int i = 0; i < 4; ++i) {
    int d = hex_value(p[i]);
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Any byte of `w` that ends a plain run inside a string: a quote, a
// backslash, a control character or a byte of a multi-byte character.
bool has_special(std::uint64_t w) {
  using bytes::kOnes;
  std::uint64_t quote = w ^ (kOnes * '"'), backslash = w ^ (kOnes * '\\');
  return (((w - kOnes * 0x20) | (quote - kOnes) | (backslash - kOnes) | w) & bytes::kHighs) != 0;
}

class Scanner {
 public:
  explicit Scanner(std::string_view bytes) : bytes_(bytes), p_(bytes.data()), end_(bytes.data() + bytes.size()) {
    out_.format = DocumentFormat::Json;
    out_.source = bytes;
    out_.events.reserve_first(bytes.size() / 8);
  }

  bool run();
  EventStream take() { return std::move(out_); }

 private:
  struct OpenContainer {
    std::uint32_t start;
    std::uint32_t values;
    bool is_map;
  };

  void skip_space() {
    while (p_ < end_ && is_space(*p_)) ++p_;
  }
  bool value();
  bool open(EventKind kind);
  void close(EventKind kind);
  bool key();
  bool string();
  bool decode_string(const char* first, const char* last, Event& e);
  bool number();
  bool literal(std::string_view word, ScalarType type, bool boolean);
  void store(const Event& e) {
    out_.events.push_back(e);
    if (!open_.empty()) ++open_.back().values;
  }

  std::string_view bytes_;
  const char* p_;
  const char* end_;
  EventStream out_;
  std::vector<OpenContainer> open_;
};

bool Scanner::run() {
  skip_space();
  if (!value()) return false;
  while (!open_.empty()) {
    skip_space();
    if (p_ == end_) return false;
    const char c = *p_++;
    OpenContainer& top = open_.back();
    if (c == ',') {
      skip_space();
      if (top.is_map && !key()) return false;
      skip_space();
      if (!value()) return false;
    } else if (c == (top.is_map ? '}' : ']')) {
      close(top.is_map ? EventKind::MapEnd : EventKind::SeqEnd);
    } else {
      return false;
    }
  }
  skip_space();
  return p_ == end_;
}

// One value; a container is opened, and read up to its first value.
bool Scanner::value() {
  if (p_ == end_) return false;
  switch (*p_) {
    case '{':
      ++p_;
      if (!open(EventKind::MapStart)) return false;
      skip_space();
      if (p_ < end_ && *p_ == '}') {
        ++p_;
        close(EventKind::MapEnd);
        return true;
      }
      if (!key()) return false;
      skip_space();
      return value();
    case '[':
      ++p_;
      if (!open(EventKind::SeqStart)) return false;
      skip_space();
      if (p_ < end_ && *p_ == ']') {
        ++p_;
        close(EventKind::SeqEnd);
        return true;
      }
      return value();
    case '"': return string();
    case 't': return literal("true", ScalarType::Bool, true);
    case 'f': return literal("false", ScalarType::Bool, false);
    case 'n': return literal("null", ScalarType::Null, false);
    default: return number();
  }
}

bool Scanner::open(EventKind kind) {
  if (open_.size() >= static_cast<std::size_t>(kMaxNesting)) return false;
  Event e;
  e.kind = kind;
  std::uint32_t index = static_cast<std::uint32_t>(out_.events.size());
  out_.events.push_back(e);
  open_.push_back({index, 0, kind == EventKind::MapStart});
  return true;
}

void Scanner::close(EventKind kind) {
  Event& start = out_.events[open_.back().start];
  start.end = static_cast<std::uint32_t>(out_.events.size());
  start.values = open_.back().values;
  open_.pop_back();
  if (!open_.empty()) ++open_.back().values;
  Event e;
  e.kind = kind;
  out_.events.push_back(e);
}

// A key, then the colon after it.
bool Scanner::key() {
  if (p_ == end_ || *p_ != '"' || !string()) return false;
  skip_space();
  if (p_ == end_ || *p_ != ':') return false;
  ++p_;
  skip_space();
  return true;
}

bool Scanner::string() {
  const char* first = ++p_;
  bool escaped = false;
  for (;;) {
    while (end_ - p_ >= 8 && !has_special(bytes::load_word(p_))) p_ += 8;
    if (p_ == end_) return false;
    const auto c = static_cast<unsigned char>(*p_);
    if (c == '"') break;
    if (c == '\\') {
      escaped = true;
      if (end_ - p_ < 2) return false;
      p_ += p_[1] == 'u' ? 6 : 2;
      if (p_ > end_) return false;
    } else if (c < 0x20) {
      return false;
    } else if (c >= 0x80) {
      std::size_t n = utf8_sequence_length(bytes_, static_cast<std::size_t>(p_ - bytes_.data()));
      if (n == 0) return false;
      p_ += n;
    } else {
      ++p_;
    }
  }
  const char* last = p_++;
  Event e;
  e.type = ScalarType::String;
  if (escaped) return decode_string(first, last, e);
  e.text_offset = static_cast<std::uint32_t>(first - bytes_.data());
  e.text_length = static_cast<std::uint32_t>(last - first);
  store(e);
  return true;
}

// The value of a string with escapes, into made_text.
bool Scanner::decode_string(const char* first, const char* last, Event& e) {
  std::string text;
  text.reserve(static_cast<std::size_t>(last - first));
  for (const char* q = first; q < last;) {
    if (*q != '\\') {
      text.push_back(*q++);
      continue;
    }
    const char kind = q[1];
    q += 2;
    switch (kind) {
      case '"': text.push_back('"'); break;
      case '\\': text.push_back('\\'); break;
      case '/': text.push_back('/'); break;
      case 'b': text.push_back('\b'); break;
      case 'f': text.push_back('\f'); break;
      case 'n': text.push_back('\n'); break;
      case 'r': text.push_back('\r'); break;
      case 't': text.push_back('\t'); break;
      case 'u': {
        int high = hex4(q);
        q += 4;
        if (high < 0 || (high >= 0xDC00 && high <= 0xDFFF)) return false;
        std::uint32_t cp = static_cast<std::uint32_t>(high);
        if (high >= 0xD800 && high <= 0xDBFF) {
          // A high surrogate must be followed by an escaped low one.
          if (last - q < 6 || q[0] != '\\' || q[1] != 'u') return false;
          int low = hex4(q + 2);
          if (low < 0xDC00 || low > 0xDFFF) return false;
          q += 6;
          cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<std::uint32_t>(low) - 0xDC00);
        }
        append_utf8(text, cp);
        break;
      }
      default: return false;
    }
  }
  if (out_.made_text.size() + text.size() + sizeof(Number) >= std::numeric_limits<std::uint32_t>::max())
    return false;
  e.made = true;
  e.text_length = static_cast<std::uint32_t>(text.size());
  e.text_offset = out_.make_text(text);
  store(e);
  return true;
}

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][-+]?[0-9]+)?, as a 64-bit integer when it
// is one and fits, else as a double.
bool Scanner::number() {
  const char* first = p_;
  bool negative = p_ < end_ && *p_ == '-';
  if (negative) ++p_;
  if (p_ == end_ || !is_digit(*p_)) return false;
  if (*p_ == '0') {
    ++p_;
  } else {
    while (p_ < end_ && is_digit(*p_)) ++p_;
  }
  bool integral = true;
  if (p_ < end_ && *p_ == '.') {
    integral = false;
    ++p_;
    if (p_ == end_ || !is_digit(*p_)) return false;
    while (p_ < end_ && is_digit(*p_)) ++p_;
  }
  if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
    integral = false;
    ++p_;
    if (p_ < end_ && (*p_ == '+' || *p_ == '-')) ++p_;
    if (p_ == end_ || !is_digit(*p_)) return false;
    while (p_ < end_ && is_digit(*p_)) ++p_;
  }
  Event e;
  Number value{};
  if (integral) {
    std::uint64_t magnitude = 0;
    const char* digits = first + (negative ? 1 : 0);
    if (std::from_chars(digits, p_, magnitude).ec != std::errc()) return false;
    constexpr auto kMaxInt = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (negative) {
      if (magnitude > kMaxInt + 1) return false;
      e.type = ScalarType::Int;
      value.integer = magnitude == kMaxInt + 1 ? std::numeric_limits<std::int64_t>::min()
                                               : -static_cast<std::int64_t>(magnitude);
    } else if (magnitude <= kMaxInt) {
      e.type = ScalarType::Int;
      value.integer = static_cast<std::int64_t>(magnitude);
    } else {
      e.type = ScalarType::UInt;
      value.unsigned_integer = magnitude;
    }
  } else {
    double d = 0;
    auto r = std::from_chars(first, p_, d);
    if (r.ec != std::errc() || r.ptr != p_ || !std::isfinite(d)) return false;
    e.type = ScalarType::Float;
    value.number = d;
  }
  if (out_.made_text.size() + sizeof(Number) >= std::numeric_limits<std::uint32_t>::max()) return false;
  e.made = true;
  e.text_offset = out_.make_text({}, &value);
  store(e);
  return true;
}

bool Scanner::literal(std::string_view word, ScalarType type, bool boolean) {
  if (static_cast<std::size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word) return false;
  p_ += word.size();
  Event e;
  e.type = type;
  e.boolean = boolean;
  store(e);
  return true;
}

}  // namespace

std::optional<EventStream> scan_common(std::string_view bytes) {
  Scanner scanner(bytes);
  if (!scanner.run()) return std::nullopt;
  return scanner.take();
}

}  // namespace vorn::parser::json
