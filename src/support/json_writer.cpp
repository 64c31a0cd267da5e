#include "support/json_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "support/byte_scan.h"

namespace vorn {

namespace {

bool needs_escape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

// The length of the leading part of `s` that is written as it is, found
// eight bytes at a time.
std::size_t plain_prefix(std::string_view s) {
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    using bytes::kOnes;
    std::uint64_t w = bytes::load_word(s.data() + i);
    std::uint64_t quote = w ^ (kOnes * '"'), backslash = w ^ (kOnes * '\\');
    // A byte below 0x20, a quote or a backslash shows as its high bit.
    if (((w - kOnes * 0x20) | (quote - kOnes) | (backslash - kOnes)) & ~w & bytes::kHighs) break;
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

// Keys and most strings are short and need no escaping: such a text goes
// out with its comma, quotes and colon in one append.
bool JsonWriter::put_short(std::string_view s, bool is_key) {
  constexpr std::size_t kShort = 48;
  if (s.size() > kShort || plain_prefix(s) != s.size()) return false;
  char buf[kShort + 4];
  std::size_t n = 0;
  if (need_comma_) buf[n++] = ',';
  buf[n++] = '"';
  std::memcpy(buf + n, s.data(), s.size());
  n += s.size();
  buf[n++] = '"';
  if (is_key) buf[n++] = ':';
  out_.append(buf, n);
  need_comma_ = !is_key;
  return true;
}

void JsonWriter::key(std::string_view k) {
  if (put_short(k, true)) return;
  separate();
  append_json_string(out_, k);
  out_.push_back(':');
  need_comma_ = false;
}

void JsonWriter::string(std::string_view s) {
  if (put_short(s, false)) return;
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
