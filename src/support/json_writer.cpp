#include "support/json_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace vorn {

namespace {

bool needs_escape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

// The length of the leading part of `s` that is written as it is. Eight
// bytes at a time: a byte below 0x20, a quote or a backslash in a word shows
// as a high bit (bytes of 0x80 and above are masked out, as they never need
// escaping).
std::size_t plain_prefix(std::string_view s) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    std::uint64_t quote = w ^ (kOnes * '"');
    std::uint64_t backslash = w ^ (kOnes * '\\');
    if (((w - kOnes * 0x20) | (quote - kOnes) | (backslash - kOnes)) & ~w & kHighs) break;
  }
  while (i < s.size() && !needs_escape(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

}  // namespace

void append_json_string(std::string& out, std::string_view s) {
  static const char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (;;) {
    std::size_t plain = plain_prefix(s);
    out.append(s.data(), plain);
    if (plain == s.size()) break;
    unsigned char c = static_cast<unsigned char>(s[plain]);
    s.remove_prefix(plain + 1);
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default:
        out.append("\\u00");
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
  }
  out.push_back('"');
}

void JsonWriter::key(std::string_view k) {
  separate();
  append_json_string(out_, k);
  out_.push_back(':');
  need_comma_ = false;
}

void JsonWriter::string(std::string_view s) {
  separate();
  append_json_string(out_, s);
  need_comma_ = true;
}

void JsonWriter::boolean(bool b) { raw(b ? "true" : "false"); }

void JsonWriter::null() { raw("null"); }

void JsonWriter::integer(std::int64_t i) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, i);
  raw(std::string_view(buf, r.ptr - buf));
}

void JsonWriter::unsigned_integer(std::uint64_t u) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, u);
  raw(std::string_view(buf, r.ptr - buf));
}

void JsonWriter::json(const nlohmann::json& value) {
  // The replace handler keeps dump() from throwing on text that is not
  // UTF-8; our readers never produce such text, but writing must not fail.
  raw(value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void JsonWriter::raw(std::string_view json_text) {
  separate();
  out_.append(json_text);
  need_comma_ = true;
}

}  // namespace vorn
