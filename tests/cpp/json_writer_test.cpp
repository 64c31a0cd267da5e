#include "support/json_writer.h"

#include <gtest/gtest.h>

#include <string>

#include <fmt/format.h>

namespace vorn {
namespace {

// One byte at a time, as JSON defines it.
std::string escaped(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c < 0x20 ? fmt::format("\\u{:04x}", c) : std::string(1, static_cast<char>(c));
    }
  }
  return out + "\"";
}

// Strings are scanned several bytes at a time: every byte that needs
// escaping, and every neighbour of those values that does not, is placed at
// every offset of strings up to three words long.
TEST(JsonWriterStrings, EscapesEveryByteAtEveryOffset) {
  const unsigned char bytes[] = {'"', '\\', '\n', '\t', 0x00, 0x01, 0x1F, 0x20, 0x21, 0x23, 0x5B,
                                 0x5D, 0x7F, 0x80, 0xA2, 0xDC, 0x9F, 0xFF, 'a'};
  for (unsigned char c : bytes) {
    for (std::size_t length = 1; length <= 24; ++length) {
      for (std::size_t at = 0; at < length; ++at) {
        std::string s(length, 'x');
        s[at] = static_cast<char>(c);
        if (at + 2 < length) s[at + 2] = '\xC3';
        std::string out;
        append_json_string(out, s);
        ASSERT_EQ(out, escaped(s)) << "byte " << int(c) << " at " << at << " of " << length;
        JsonWriter w;
        w.begin_array();
        w.string(s);
        w.key(s);
        w.null();
        ASSERT_EQ(w.take(), "[" + escaped(s) + "," + escaped(s) + ":null") << "byte " << int(c) << " at " << at;
      }
    }
  }
}

}  // namespace
}  // namespace vorn
