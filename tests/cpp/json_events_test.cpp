#include "parser/json_events.h"

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace vorn::parser {
namespace {

using json::read_events;

// One token per event: { } [ ] for containers, "text" for strings and keys,
// null/true/false, i<n> for Int, u<n> for UInt, f<x> for Float.
std::string render(const EventStream& s) {
  std::string out;
  for (std::size_t i = 0; i < s.events.size(); ++i) {
    const Event& e = s.events[i];
    if (!out.empty()) out += ' ';
    switch (e.kind) {
      case EventKind::MapStart: out += '{'; continue;
      case EventKind::MapEnd: out += '}'; continue;
      case EventKind::SeqStart: out += '['; continue;
      case EventKind::SeqEnd: out += ']'; continue;
      case EventKind::Scalar: break;
    }
    switch (e.type) {
      case ScalarType::Null: out += "null"; break;
      case ScalarType::Bool: out += e.boolean ? "true" : "false"; break;
      case ScalarType::Int: out += fmt::format("i{}", s.number_of(e).integer); break;
      case ScalarType::UInt: out += fmt::format("u{}", s.number_of(e).unsigned_integer); break;
      case ScalarType::Float: out += fmt::format("f{}", s.number_of(e).number); break;
      case ScalarType::String: out += fmt::format("\"{}\"", s.text_of(e)); break;
    }
  }
  return out;
}

std::string read_rendered(std::string_view text) {
  auto r = read_events(text);
  return r ? render(r.value()) : "error: " + r.error();
}

// Every start points at its own matching end and counts the values
// directly inside, computed independently.
void expect_ends_match(const EventStream& s) {
  std::vector<std::size_t> open, values;
  for (std::size_t i = 0; i < s.events.size(); ++i) {
    EventKind k = s.events[i].kind;
    if ((k == EventKind::Scalar || k == EventKind::MapStart || k == EventKind::SeqStart) && !values.empty())
      ++values.back();
    if (k == EventKind::MapStart || k == EventKind::SeqStart) {
      open.push_back(i);
      values.push_back(0);
    }
    if (k == EventKind::MapEnd || k == EventKind::SeqEnd) {
      ASSERT_FALSE(open.empty());
      EXPECT_EQ(s.events[open.back()].end, i) << "start at " << open.back();
      EXPECT_EQ(s.events[open.back()].values, values.back()) << "start at " << open.back();
      open.pop_back();
      values.pop_back();
    }
  }
  EXPECT_TRUE(open.empty());
}

TEST(JsonEventsStructure, NestedDocument) {
  auto r = read_events(R"({"a": [1, {"b": null}, []], "c": {}})");
  ASSERT_TRUE(r) << r.error();
  EXPECT_EQ(r->format, DocumentFormat::Json);
  EXPECT_EQ(render(*r), R"({ "a" [ i1 { "b" null } [ ] ] "c" { } })");
  const auto& ev = r->events;
  EXPECT_EQ(ev[0].end, 14u);
  EXPECT_EQ(ev[2].end, 10u);
  EXPECT_EQ(ev[4].end, 7u);
  EXPECT_EQ(ev[8].end, 9u);
  EXPECT_EQ(ev[12].end, 13u);
  expect_ends_match(*r);
  for (std::size_t i = 0; i < ev.size(); ++i) {
    EXPECT_FALSE(ev[i].plain);
    EXPECT_FALSE(ev[i].empty);
  }
}

TEST(JsonEventsStructure, DuplicateKeysKeptInOrder) {
  EXPECT_EQ(read_rendered(R"({"k": 1, "j": 2, "k": 3, "": 4, "k": 5})"),
            R"({ "k" i1 "j" i2 "k" i3 "" i4 "k" i5 })");
}

// Strings without escapes are read in place; escaped quotes and backslashes
// next to the closing quote must not fool that.
TEST(JsonEventsStructure, StringTextsInPlaceOrUnescaped) {
  auto r = read_events(
      R"(["x\u00e9\n", "", "\ud83d\ude00", "plain", "a\"b", "\"ab", "x\\", "\\\"", "q\"", "\u0041B", "é"])");
  ASSERT_TRUE(r) << r.error();
  const char* expected[] = {"x\xC3\xA9\n", "", "\xF0\x9F\x98\x80", "plain", "a\"b", "\"ab", "x\\", "\\\"", "q\"", "AB", "é"};
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(r->text_of(r->events[i + 1]), expected[i]) << i;
  EXPECT_FALSE(r->events[4].made);
}

struct Case {
  const char* input;
  const char* expected;
};

class JsonEventsValues : public testing::TestWithParam<Case> {};

TEST_P(JsonEventsValues, Read) { EXPECT_EQ(read_rendered(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Scalars, JsonEventsValues,
    testing::Values(Case{"null", "null"}, Case{"true", "true"}, Case{"false", "false"},
                    Case{"0", "i0"}, Case{"-0", "i0"}, Case{"-5", "i-5"},
                    Case{"9223372036854775807", "i9223372036854775807"},
                    Case{"-9223372036854775808", "i-9223372036854775808"},
                    Case{"9223372036854775808", "u9223372036854775808"},
                    Case{"18446744073709551615", "u18446744073709551615"},
                    Case{"18446744073709551616", "f1.8446744073709552e+19"},
                    Case{"1.5", "f1.5"}, Case{"-2.5e-3", "f-0.0025"}, Case{"1e400", "finf"},
                    Case{"-1e400", "f-inf"}, Case{"1e-400", "f0"},
                    Case{" \t\r\n \"s\" \n\n ", "\"s\""}));

// Numbers too large for a double do not stop the parse: what follows them is
// read as usual, at any depth and inside maps.
INSTANTIATE_TEST_SUITE_P(
    Overflow, JsonEventsValues,
    testing::Values(Case{"[1e400, 2, -1e999]", "[ finf i2 f-inf ]"},
                    Case{R"({"a": {"b": [1e400]}, "c": 1e400} )", R"({ "a" { "b" [ finf ] } "c" finf })"},
                    Case{"[1e400 2]",
                         "error: syntax error while parsing array - unexpected number literal; "
                         "expected ']' at line 1 column 8"},
                    Case{R"({"a": [1e400, tru]})",
                         "error: syntax error while parsing value - invalid literal; last read: ', tru]' "
                         "at line 1 column 18"},
                    Case{"1e400.5",
                         "error: syntax error while parsing value - invalid literal; last read: '.'; "
                         "expected end of input at line 1 column 6"}));

TEST(JsonEventsValuesEnds, EndsStayRightAcrossOverflow) {
  auto r = read_events(R"([{"a": 1e400, "b": [1e400, {}]}, 1e400, [[]]])");
  ASSERT_TRUE(r) << r.error();
  expect_ends_match(*r);
}

INSTANTIATE_TEST_SUITE_P(
    SyntaxErrors, JsonEventsValues,
    testing::Values(
        Case{"", "error: syntax error while parsing value - unexpected end of input; expected '[', '{', "
                 "or a literal at line 1 column 1"},
        Case{"1 2", "error: syntax error while parsing value - unexpected number literal; expected end "
                    "of input at line 1 column 3"},
        Case{"{}\n\n  {}", "error: syntax error while parsing value - unexpected '{'; expected end of "
                           "input at line 3 column 3"},
        Case{"[1,\n", "error: syntax error while parsing value - unexpected end of input; expected '[', "
                      "'{', or a literal at line 2 column 1"},
        Case{R"({"a" 1})", "error: syntax error while parsing object separator - unexpected number "
                           "literal; expected ':' at line 1 column 6"},
        Case{"\"a\xFF\"", "error: syntax error while parsing value - invalid string: ill-formed UTF-8 "
                          "byte; last read: '\"a\\xFF' at line 1 column 3"},
        Case{"\"a\nb\"", "error: syntax error while parsing value - invalid string: control character "
                         "U+000A (LF) must be escaped to \\u000A or \\n; last read: '\"a<U+000A>' at line "
                         "1 column 3"},
        Case{"[tru]", "error: syntax error while parsing value - invalid literal; last read: '[tru]' at "
                      "line 1 column 5"}));

TEST(JsonEventsErrors, LongTokenEchoKeepsItsTail) {
  std::string input = "\"" + std::string(10000, 'a') + "\xC3\xA9\x01";
  auto r = read_events(input);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error(),
            "syntax error while parsing value - invalid string: control character U+0001 (SOH) must be "
            "escaped to \\u0001; last read: '..." + std::string(30, 'a') +
                "\xC3\xA9<U+0001>' at line 1 column 10004");
}

std::string nested(int depth, std::string_view open, std::string_view close) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += open;
  s += "0";
  for (int i = 0; i < depth; ++i) s += close;
  return s;
}

TEST(JsonEventsNesting, LimitIsInclusive) {
  EXPECT_TRUE(read_events(nested(kMaxNesting, "[", "]")));
  EXPECT_TRUE(read_events(nested(kMaxNesting, R"({"k":)", "}")));
  auto seq = read_events(nested(kMaxNesting + 1, "[", "]"));
  ASSERT_FALSE(seq);
  EXPECT_EQ(seq.error(), "recursion limit exceeded at line 1 column 129");
  auto map = read_events(nested(kMaxNesting + 1, "{\"k\":\n", "}"));
  ASSERT_FALSE(map);
  EXPECT_EQ(map.error(), "recursion limit exceeded at line 129 column 1");
}

TEST(JsonEventsNesting, DeepInputFailsCleanly) {
  auto r = read_events(std::string(10000, '['));
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error(), "recursion limit exceeded at line 1 column 129");
}

TEST(JsonEventsPositions, LastByteOfEachToken) {
  const char* doc =
      "{\n"
      "  \"name\": \"x\",\n"
      "  \"list\": [10, true,\n"
      "    -2.5]\n"
      "}\n";
  auto r = read_events(doc);
  ASSERT_TRUE(r) << r.error();
  ASSERT_EQ(render(*r), R"({ "name" "x" "list" [ i10 true f-2.5 ] })");
  struct At {
    std::uint32_t line, column;
  };
  // Numbers end at their last digit although the lexer looks one byte further.
  std::vector<At> expected = {{1, 1}, {2, 8}, {2, 13}, {3, 8}, {3, 11}, {3, 13},
                              {3, 19}, {4, 8},  {4, 9},  {5, 1}};
  ASSERT_EQ(r->events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    TextPosition at = position_of(*r, r->events[i]);
    EXPECT_EQ(at.line, expected[i].line) << "event " << i;
    EXPECT_EQ(at.column, expected[i].column) << "event " << i;
  }
}

TEST(JsonEventsLimits, OversizedInputRefusedBeforeReading) {
  // Only the length is looked at, so the view may point at a short buffer.
  char one = ' ';
  std::string_view huge(&one, std::size_t{std::numeric_limits<std::uint32_t>::max()} + 1);
  auto r = read_events(huge);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error(), "document too large");
}

TEST(JsonEventsLimits, LongRunOfSpaces) {
  auto r = read_events(std::string(8 << 20, ' '));
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error(), "syntax error while parsing value - unexpected end of input; expected '[', '{', "
                       "or a literal at line 1 column 8388609");
}

TEST(JsonEventsLimits, RandomBytesNeverCrash) {
  std::mt19937 rng(20240611);
  const std::string_view alphabet = "[]{}:,\"\\ 0123456789.eE+-tfnrulsa\n\x01\xC3\xA9\xFF";
  for (int round = 0; round < 2000; ++round) {
    std::string input(rng() % 64, ' ');
    for (char& c : input) c = round % 2 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
    auto r = read_events(input);
    if (r) {
      expect_ends_match(*r);
    } else {
      EXPECT_NE(r.error().find(" at line "), std::string::npos) << r.error();
    }
  }
}

}  // namespace
}  // namespace vorn::parser
