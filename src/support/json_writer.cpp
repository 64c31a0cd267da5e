#include "support/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "support/byte_scan.h"

namespace vorn {

namespace {

bool needs_escape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

// A byte below 0x20, a quote or a backslash in `w` shows as its high bit.
std::uint64_t special_bytes(std::uint64_t w) {
  using bytes::kOnes;
  std::uint64_t quote = w ^ (kOnes * '"'), backslash = w ^ (kOnes * '\\');
  return ((w - kOnes * 0x20) | (quote - kOnes) | (backslash - kOnes)) & ~w & bytes::kHighs;
}

// The length of the leading part of `s` that is written as it is, found
// eight bytes at a time.
std::size_t plain_prefix(std::string_view s) {
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8)
    if (special_bytes(bytes::load_word(s.data() + i))) break;
  while (i < s.size() && !needs_escape(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

// Whether `s` is written as it is. Short texts are read as one word whose
// pieces may overlap, which repeats bytes but misses none.
bool is_plain(std::string_view s) {
  const char* p = s.data();
  std::size_t n = s.size();
  if (n >= 8) {
    std::uint64_t any = 0;
    for (std::size_t i = 0; i + 8 < n; i += 8) any |= special_bytes(bytes::load_word(p + i));
    return (any | special_bytes(bytes::load_word(p + n - 8))) == 0;
  }
  std::uint64_t w = bytes::kOnes * 'a';
  if (n >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    w = head | (std::uint64_t{tail} << 32);
  } else if (n > 0) {
    w = (w << 24) | static_cast<unsigned char>(p[0]) | (std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8) |
        (std::uint64_t{static_cast<unsigned char>(p[n - 1])} << 16);
  }
  return special_bytes(w) == 0;
}

// Writes `s` quoted and escaped through `put`, which takes a text to append.
template <class Put>
void write_escaped(std::string_view s, Put&& put) {
  static const char kHex[] = "0123456789abcdef";
  put(std::string_view("\"", 1));
  for (;;) {
    std::size_t plain = plain_prefix(s);
    put(s.substr(0, plain));
    if (plain == s.size()) break;
    unsigned char c = static_cast<unsigned char>(s[plain]);
    s.remove_prefix(plain + 1);
    switch (c) {
      case '"': put("\\\""); break;
      case '\\': put("\\\\"); break;
      case '\b': put("\\b"); break;
      case '\f': put("\\f"); break;
      case '\n': put("\\n"); break;
      case '\r': put("\\r"); break;
      case '\t': put("\\t"); break;
      default: {
        const char code[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
        put(std::string_view(code, sizeof code));
      }
    }
  }
  put(std::string_view("\"", 1));
}

}  // namespace

void append_json_string(std::string& out, std::string_view s) {
  write_escaped(s, [&](std::string_view piece) { out.append(piece); });
}

void JsonWriter::grow(std::size_t n) {
  out_.resize(std::max({used_ + n, out_.size() * 2, std::size_t{2048}}));
}

// Keys and most strings need no escaping: such a text goes out in one copy.
void JsonWriter::put_string(std::string_view s) {
  if (is_plain(s)) {
    char* at = extend(s.size() + 2);
    at[0] = '"';
    bytes::copy(at + 1, s.data(), s.size());
    at[s.size() + 1] = '"';
    return;
  }
  write_escaped(s, [this](std::string_view piece) { put(piece); });
}

void JsonWriter::key(std::string_view k) {
  separate();
  put_string(k);
  put(':');
  need_comma_ = false;
}

void JsonWriter::string(std::string_view s) {
  separate();
  put_string(s);
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
  put(json_text);
  need_comma_ = true;
}

}  // namespace vorn
