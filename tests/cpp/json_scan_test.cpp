#include "parser/json_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include <fmt/format.h>

#include "parser/json_events.h"

namespace vorn::parser::json {
namespace {

// Everything an event carries, numbers bit for bit.
std::string render(const EventStream& s) {
  std::string out;
  for (std::size_t i = 0; i < s.events.size(); ++i) {
    const Event& e = s.events[i];
    out += fmt::format("{}:{}:{}{}{} ", static_cast<int>(e.kind), static_cast<int>(e.type), e.plain, e.empty,
                       e.boolean);
    if (e.kind == EventKind::MapStart || e.kind == EventKind::SeqStart) {
      out += fmt::format("end={} values={}\n", e.end, e.values);
    } else if (e.type == ScalarType::Int || e.type == ScalarType::UInt || e.type == ScalarType::Float) {
      std::uint64_t bits;
      Number n = s.number_of(e);
      std::memcpy(&bits, &n, sizeof bits);
      out += fmt::format("number={:x}\n", bits);
    } else {
      out += fmt::format("text=[{}]\n", s.text_of(e));
    }
  }
  return out;
}

// The common-case reader takes the text and agrees with the general parser,
// or leaves it (which it must when the general parser refuses it).
void expect_agrees(const std::string& text, bool must_take) {
  auto common = scan_common(text);
  auto general = read_events_by_parser(text);
  if (!general.ok()) {
    EXPECT_FALSE(common.has_value()) << "took a text the parser refuses: " << text;
    return;
  }
  if (must_take) EXPECT_TRUE(common.has_value()) << "left: " << text;
  if (common) EXPECT_EQ(render(*common), render(*general)) << text;
}

TEST(JsonScan, TakesCommonTextsAlikeTheParser) {
  for (const char* text : {
           R"({"a": [1, -2, 0, -0, 3.5, -0.0, 1e-5, 1E+2, 0.1e1, true, false, null], "b": {}, "c": []})",
           R"(["\"\\\/\b\f\n\r\t", "\u0041\u00e9\u20ac\ud83d\ude00\u0000", "x\u001fy", "é€😀", ""])",
           R"([9223372036854775807, 9223372036854775808, 18446744073709551615, -9223372036854775808])",
           R"([4.9e-324, 1.7976931348623157e308, 2.2250738585072014e-308, 123456789012345678901234567890.5])",
           " \t\r\n{ \"k\" :\n[ ] , \"k\" : { \"j\" : \"\\u00E9\" } }\n\t ", "\"top\"", "12", "[[[[]]]]",
       }) {
    expect_agrees(text, true);
  }
}

TEST(JsonScan, LeavesEveryOtherTextToTheParser) {
  for (const char* text : {"1e400", "-1e400", "1e-400", "18446744073709551616", "-9223372036854775809",
                           "\xEF\xBB\xBF{}", "[\"\\ud800\"]", "[\"\\udc00\"]", "[\"\\ud800\\u0041\"]",
                           "[\"\x80\"]", "[\"\xC0\xAF\"]", "[\"\xED\xA0\x80\"]", "[1] x", "01", "[1,]",
                           "{\"a\" 1}", "[\"a\x01\"]", "[\"\\x\"]", "[\"\\u12\"]", "", "  ", "-", "1.", "[.5]",
                           "tru", "nulll", "{\"a\":1,}", "[1 2]"}) {
    EXPECT_FALSE(scan_common(text).has_value()) << text;
    expect_agrees(text, false);
  }
  std::string deep(kMaxNesting + 1, '[');
  deep += std::string(kMaxNesting + 1, ']');
  EXPECT_FALSE(scan_common(deep).has_value());
  std::string limit(kMaxNesting, '[');
  limit += std::string(kMaxNesting, ']');
  expect_agrees(limit, true);
}

// Random documents built from pieces of every kind, and byte-flipped ones.
TEST(JsonScan, RandomTextsAgree) {
  std::mt19937 rng(7);
  const char* scalars[] = {"0", "-1", "17", "3.25", "-0.5e3", "1e308", "true", "false", "null", "\"a\"",
                           "\"\\u00e9\\n\"", "\"\xC3\xA9\"", "\"\\ud83d\\ude00\"", "9223372036854775808",
                           "\"\\\"\\\\\"", "1e-320"};
  auto value = [&](auto& self, int depth) -> std::string {
    int pick = static_cast<int>(rng() % 10);
    if (depth > 4 || pick < 6) return scalars[rng() % std::size(scalars)];
    bool map = pick < 8;
    std::string out = map ? "{" : "[";
    for (int n = static_cast<int>(rng() % 4), i = 0; i < n; ++i) {
      if (i) out += rng() % 2 ? "," : " , ";
      if (map) out += fmt::format("\"k{}\":", rng() % 3);
      out += self(self, depth + 1);
    }
    return out + (map ? "}" : "]");
  };
  const std::string alphabet = "[]{}:,\"\\ 0123456789.eE+-tfnrulsau\n\x01\xC3\xA9\xFF";
  for (int round = 0; round < 3000; ++round) {
    std::string text = value(value, 0);
    if (round % 2) {
      for (int flips = 1 + static_cast<int>(rng() % 3); flips > 0 && !text.empty(); --flips)
        text[rng() % text.size()] = alphabet[rng() % alphabet.size()];
    }
    expect_agrees(text, false);
  }
}

}  // namespace
}  // namespace vorn::parser::json
