#include "parser/yaml_events.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "parser/yaml_scalar.h"

namespace vorn::parser::yaml {
namespace {

std::string repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// "int:5", "str:abc" (plain), "qstr:abc" (quoted or block), "null(empty)"...
std::string describe(const PlainScalar& e, bool plain, std::string_view text) {
  switch (e.type) {
    case ScalarType::Null: return e.empty ? "null(empty)" : "null";
    case ScalarType::Bool: return e.boolean ? "bool:true" : "bool:false";
    case ScalarType::Int: return fmt::format("int:{}", e.number.integer);
    case ScalarType::UInt: return fmt::format("uint:{}", e.number.unsigned_integer);
    case ScalarType::Float: return fmt::format("float:{}", e.number.number);
    case ScalarType::String: return fmt::format("{}:{}", plain ? "str" : "qstr", text);
  }
  return "?";
}

std::string describe(const EventStream& s, const Event& e) {
  PlainScalar typed{e.type, e.empty, e.boolean, {}};
  if (e.type == ScalarType::Int || e.type == ScalarType::UInt || e.type == ScalarType::Float)
    typed.number = s.number_of(e);
  return describe(typed, e.plain, s.text_of(e));
}

// "{ a 1 b [ x ] }": the tree with scalar texts, for structure checks.
std::string shape(const EventStream& s) {
  std::string out;
  for (std::size_t i = 0; i < s.events.size(); ++i) {
    const Event& e = s.events[i];
    if (!out.empty()) out += ' ';
    switch (e.kind) {
      case EventKind::Scalar: out += s.text_of(e); break;
      case EventKind::MapStart: out += '{'; break;
      case EventKind::MapEnd: out += '}'; break;
      case EventKind::SeqStart: out += '['; break;
      case EventKind::SeqEnd: out += ']'; break;
    }
  }
  return out;
}

// Every start event's `end` names its own matching end event, and its
// `values` the number of values directly inside.
bool ends_match(const EventStream& s) {
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
      if (open.empty()) return false;
      const Event& start = s.events[open.back()];
      if (start.end != i || start.values != values.back()) return false;
      open.pop_back();
      values.pop_back();
    }
  }
  return open.empty();
}

EventStream read_ok(std::string_view yaml) {
  auto r = read_events(yaml);
  EXPECT_TRUE(r.ok()) << yaml << " -> " << (r.ok() ? "" : r.error());
  if (!r.ok()) return {};
  EXPECT_TRUE(ends_match(*r)) << yaml;
  return std::move(r).value();
}

std::string read_error(std::string_view yaml) {
  auto r = read_events(yaml);
  EXPECT_FALSE(r.ok()) << yaml;
  return r.ok() ? "" : r.error();
}

struct TypingCase {
  const char* text;
  const char* expected;
};

class YamlEventsPlainTyping : public testing::TestWithParam<TypingCase> {};

TEST_P(YamlEventsPlainTyping, FollowsCoreSchema) {
  EXPECT_EQ(describe(type_plain_scalar(GetParam().text), true, GetParam().text), GetParam().expected)
      << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    YamlEvents, YamlEventsPlainTyping,
    testing::Values(
        TypingCase{"", "null(empty)"}, TypingCase{"~", "null"}, TypingCase{"null", "null"},
        TypingCase{"Null", "null"}, TypingCase{"NULL", "null"}, TypingCase{"nULL", "str:nULL"},
        TypingCase{"~~", "str:~~"}, TypingCase{"true", "bool:true"},
        TypingCase{"True", "bool:true"}, TypingCase{"TRUE", "bool:true"},
        TypingCase{"false", "bool:false"}, TypingCase{"False", "bool:false"},
        TypingCase{"FALSE", "bool:false"}, TypingCase{"tRUE", "str:tRUE"},
        TypingCase{"yes", "str:yes"}, TypingCase{"no", "str:no"}, TypingCase{"on", "str:on"},
        TypingCase{"0", "int:0"}, TypingCase{"-0", "int:0"}, TypingCase{"+12", "int:12"},
        TypingCase{"007", "int:7"}, TypingCase{"-42", "int:-42"},
        TypingCase{"9223372036854775807", "int:9223372036854775807"},
        TypingCase{"-9223372036854775808", "int:-9223372036854775808"},
        TypingCase{"9223372036854775808", "uint:9223372036854775808"},
        TypingCase{"18446744073709551615", "uint:18446744073709551615"},
        TypingCase{"18446744073709551616", "float:1.8446744073709552e+19"},
        TypingCase{"-9223372036854775809", "float:-9.223372036854776e+18"},
        TypingCase{"0x1F", "int:31"}, TypingCase{"0xff", "int:255"},
        TypingCase{"0xFFFFFFFFFFFFFFFF", "uint:18446744073709551615"},
        TypingCase{"0x10000000000000000", "float:1.8446744073709552e+19"},
        TypingCase{"0o17", "int:15"},
        TypingCase{"0o1777777777777777777777", "uint:18446744073709551615"},
        TypingCase{"0o2000000000000000000000", "float:1.8446744073709552e+19"},
        TypingCase{"0o2000000000000000000001", "float:1.8446744073709552e+19"},
        TypingCase{"0o3777777777777777777777777", "float:1.888946593147858e+22"},
        TypingCase{"0x", "str:0x"}, TypingCase{"0o", "str:0o"}, TypingCase{"0o8", "str:0o8"},
        TypingCase{"0xg", "str:0xg"}, TypingCase{"0b101", "str:0b101"},
        TypingCase{"-0x1", "str:-0x1"}, TypingCase{"+0o7", "str:+0o7"},
        TypingCase{"1.0", "float:1"}, TypingCase{"1.", "float:1"}, TypingCase{".5", "float:0.5"},
        TypingCase{"-.5", "float:-0.5"}, TypingCase{"+1e3", "float:1000"},
        TypingCase{"1E-2", "float:0.01"}, TypingCase{"1.e2", "float:100"},
        TypingCase{"1e400", "float:inf"}, TypingCase{"-1e400", "float:-inf"},
        TypingCase{"1e-400", "float:0"}, TypingCase{"-0.001e-400", "float:-0"},
        TypingCase{"0.0001e310", "float:1e+306"}, TypingCase{"4.9e-324", "float:5e-324"},
        TypingCase{"1e99999999999999999999", "float:inf"},
        TypingCase{".inf", "float:inf"}, TypingCase{".Inf", "float:inf"},
        TypingCase{"+.INF", "float:inf"}, TypingCase{"-.inf", "float:-inf"},
        TypingCase{".nan", "float:nan"}, TypingCase{".NaN", "float:nan"},
        TypingCase{".NAN", "float:nan"}, TypingCase{"-.nan", "str:-.nan"},
        TypingCase{".iNf", "str:.iNf"}, TypingCase{"inf", "str:inf"},
        TypingCase{"1.0.0", "str:1.0.0"}, TypingCase{"1e", "str:1e"}, TypingCase{"1e+", "str:1e+"},
        TypingCase{"e5", "str:e5"}, TypingCase{".", "str:."}, TypingCase{"+", "str:+"},
        TypingCase{"-", "str:-"}, TypingCase{"+.", "str:+."}, TypingCase{"1_000", "str:1_000"},
        TypingCase{"12:30", "str:12:30"}, TypingCase{"1 2", "str:1 2"}));

TEST(YamlEventsPlainTyping, HugeDecimalIntegerBecomesInfinity) {
  EXPECT_EQ(describe(type_plain_scalar("1" + std::string(400, '0')), true, ""), "float:inf");
  EXPECT_EQ(describe(type_plain_scalar("-1" + std::string(400, '0')), true, ""), "float:-inf");
}

class YamlEventsScalarStyle : public testing::TestWithParam<TypingCase> {};

TEST_P(YamlEventsScalarStyle, OnlyUntaggedPlainScalarsAreTyped) {
  EventStream s = read_ok(GetParam().text);
  ASSERT_EQ(s.events.size(), 1u);
  EXPECT_EQ(describe(s, s.events[0]), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    YamlEvents, YamlEventsScalarStyle,
    testing::Values(TypingCase{"123", "int:123"}, TypingCase{"\"123\"", "qstr:123"},
                    TypingCase{"'true'", "qstr:true"}, TypingCase{"''", "qstr:"},
                    TypingCase{"\"\"", "qstr:"}, TypingCase{"!!str 123", "str:123"},
                    TypingCase{"!!str", "str:"}, TypingCase{"---\n", "null(empty)"},
                    TypingCase{"|\n  12\n", "qstr:12\n"}, TypingCase{">\n  a\n  b\n", "qstr:a b\n"},
                    TypingCase{"\"a\\tb\\u00e9\"", "qstr:a\tb\xc3\xa9"},
                    TypingCase{"'it''s'", "qstr:it's"}, TypingCase{"a\n  b", "str:a b"},
                    TypingCase{"--- ~\n...\n", "null"}, TypingCase{"! true", "str:true"},
                    TypingCase{"! 12", "str:12"}, TypingCase{"! ''", "qstr:"},
                    TypingCase{"!x true", "bool:true"}, TypingCase{"!!int 12", "int:12"},
                    TypingCase{"&a 0x1F", "int:31"},
                    TypingCase{"\xef\xbb\xbf\xc3\xa9t\xc3\xa9", "str:\xc3\xa9t\xc3\xa9"},
                    TypingCase{"'a\r\n  b'", "qstr:a b"}, TypingCase{"\"\\\"x\"", "qstr:\"x"},
                    TypingCase{"'\xc3\xa9'''", "qstr:\xc3\xa9'"}));

// Texts are found in the document's bytes after characters of any width,
// line breaks of either kind and a byte order mark.
TEST(YamlEventsStructure, TextsAfterWideCharacters) {
  EXPECT_EQ(shape(read_ok("\xef\xbb\xbf\xc3\xbc: [\xc3\xa9, '\xf0\x9f\x98\x80', x]\r\n"
                          "b: \"c\\td\"\r\n\xe2\x82\xac: e\n")),
            "{ \xc3\xbc [ \xc3\xa9 \xf0\x9f\x98\x80 x ] b c\td \xe2\x82\xac e }");
}

TEST(YamlEventsStructure, NestedDocumentWithEndsAndPositions) {
  EventStream s = read_ok("a: 1\nb: [x, {c: d}]\ne: {}\n");
  EXPECT_EQ(s.format, DocumentFormat::Yaml);
  EXPECT_EQ(shape(s), "{ a 1 b [ x { c d } ] e { } }");
  ASSERT_EQ(s.events.size(), 15u);
  EXPECT_EQ(s.events[0].end, 14u);
  EXPECT_EQ(s.events[4].end, 10u);
  EXPECT_EQ(s.events[6].end, 9u);
  EXPECT_EQ(s.events[12].end, 13u);
  struct Where { std::size_t index; std::uint32_t line, column; };
  for (Where w : {Where{0, 1, 1}, Where{1, 1, 1}, Where{2, 1, 4}, Where{3, 2, 1}, Where{4, 2, 4},
                  Where{5, 2, 5}, Where{8, 2, 12}, Where{9, 2, 13}, Where{11, 3, 1}, Where{14, 4, 1}}) {
    TextPosition at = position_of(s, s.events[w.index]);
    EXPECT_EQ(at.line, w.line) << w.index;
    EXPECT_EQ(at.column, w.column) << w.index;
  }
  EXPECT_EQ(describe(s, s.events[2]), "int:1");
}

TEST(YamlEventsStructure, DuplicateKeysKeptInOrder) {
  EXPECT_EQ(shape(read_ok("a: 1\nb: 2\na: 3\n")), "{ a 1 b 2 a 3 }");
}

TEST(YamlEventsStructure, BlockSequenceOfMappings) {
  EXPECT_EQ(shape(read_ok("- x: 1\n  y:\n- []\n- \"q\"\n")), "[ { x 1 y  } [ ] q ]");
}

struct ShapeCase {
  const char* yaml;
  const char* expected;
};

class YamlEventsAlias : public testing::TestWithParam<ShapeCase> {};

TEST_P(YamlEventsAlias, ReplaysAnchoredNode) {
  EXPECT_EQ(shape(read_ok(GetParam().yaml)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    YamlEvents, YamlEventsAlias,
    testing::Values(
        ShapeCase{"a: &x hello\nb: *x\n", "{ a hello b hello }"},
        ShapeCase{"base: &b {k: 1, l: [2]}\nuse: *b\n", "{ base { k 1 l [ 2 ] } use { k 1 l [ 2 ] } }"},
        ShapeCase{"- &s [a, [b]]\n- *s\n- *s\n", "[ [ a [ b ] ] [ a [ b ] ] [ a [ b ] ] ]"},
        ShapeCase{"- &k key\n- {*k : v}\n", "[ key { key v } ]"},
        ShapeCase{"- &a 1\n- &a 2\n- *a\n", "[ 1 2 2 ]"},
        ShapeCase{"- &a [&a 1, *a]\n- *a\n", "[ [ 1 1 ] 1 ]"}));

TEST(YamlEventsAlias, ReplayedScalarKeepsType) {
  EventStream s = read_ok("- &n 0x10\n- *n\n");
  ASSERT_EQ(s.events.size(), 4u);
  EXPECT_EQ(describe(s, s.events[2]), "int:16");
}

TEST(YamlEventsAlias, UnknownAnchor) {
  EXPECT_EQ(read_error("a: *nope\n"), "unknown anchor at line 1 column 4");
  // An anchor is usable only after its node.
  EXPECT_EQ(read_error("- *a\n- &a 1\n"), "unknown anchor at line 1 column 3");
}

TEST(YamlEventsAlias, AliasInsideItsOwnNodeIsRefused) {
  EXPECT_EQ(read_error("&r [*r]"), "recursion limit exceeded at line 1 column 5");
}

TEST(YamlEventsAlias, BillionLaughsFailsFast) {
  std::string doc = "a: &a [lol, lol, lol, lol, lol, lol, lol, lol, lol]\n";
  for (char c = 'b'; c <= 'i'; ++c) {
    char prev = static_cast<char>(c - 1);
    doc += fmt::format("{0}: &{0} [{1}]\n", c, repeat(fmt::format("*{}, ", prev), 8) + "*" + prev);
  }
  std::string error = read_error(doc);
  EXPECT_EQ(error.rfind("repetition limit exceeded at line ", 0), 0u) << error;
}

// An anchor of 1001 events: 999 replays stay within a million, 1000 do not.
TEST(YamlEventsAlias, RepetitionLimitBoundary) {
  std::string anchor = "- &a [" + repeat("x, ", 998) + "x]\n";
  EXPECT_TRUE(read_events(anchor + repeat("- *a\n", 999)).ok());
  EXPECT_EQ(read_error(anchor + repeat("- *a\n", 1000)),
            "repetition limit exceeded at line 1001 column 3");
}

std::string nested(int depth) { return repeat("[", depth) + repeat("]", depth); }

TEST(YamlEventsNesting, LimitIs128Levels) {
  EXPECT_EQ(read_ok(nested(kMaxNesting)).events.size(), 2u * kMaxNesting);
  EXPECT_EQ(read_error(nested(kMaxNesting + 1)), "recursion limit exceeded at line 1 column 129");
  EXPECT_EQ(read_error(repeat("[", 10000)), "recursion limit exceeded at line 1 column 129");
  EXPECT_EQ(read_error(repeat("{a: ", 10000)), "recursion limit exceeded at line 1 column 513");
}

TEST(YamlEventsNesting, ReplayIntoDeepContextCountsAnchorHeight) {
  // Root sequence, then `depth` brackets, then a replay three levels tall.
  auto doc = [](int depth) {
    return "- &x [[[1]]]\n- " + repeat("[", depth) + "*x" + repeat("]", depth) + "\n";
  };
  EXPECT_TRUE(read_events(doc(kMaxNesting - 4)).ok());
  EXPECT_EQ(read_error(doc(kMaxNesting - 3)).rfind("recursion limit exceeded at line 2", 0), 0u);
}

TEST(YamlEventsDocuments, EmptyInputHasNoValue) {
  for (const char* yaml : {"", "# only a comment\n", "   \n\n", "\xef\xbb\xbf"}) {
    EXPECT_EQ(read_error(yaml), "EOF while parsing a value") << yaml;
  }
}

TEST(YamlEventsDocuments, SecondDocumentRefused) {
  const std::string message = "deserializing from YAML containing more than one document is not supported";
  EXPECT_EQ(read_error("a: 1\n---\nb: 2\n"), message + " at line 2 column 1");
  EXPECT_EQ(read_error("--- a\n--- b\n"), message + " at line 2 column 1");
  EXPECT_EQ(shape(read_ok("--- a\n...\n")), "a");
}

TEST(YamlEventsErrors, SyntaxErrorNamesProblemAndContext) {
  EXPECT_EQ(read_error("a:\n  b: 1\n  - c\n"),
            "did not find expected key at line 3 column 3, "
            "while parsing a block mapping at line 2 column 3");
  EXPECT_EQ(read_error("[1, 2"),
            "did not find expected ',' or ']' at line 2 column 1, "
            "while parsing a flow sequence at line 1 column 1");
  EXPECT_EQ(read_error("a: 'x"), "found unexpected end of stream at line 1 column 6, "
                                 "while scanning a quoted scalar at line 1 column 4");
}

// Encoding errors are placed by the byte offset libyaml reports.
TEST(YamlEventsErrors, InvalidUtf8Refused) {
  struct Case { std::string yaml, error; };
  for (const Case& c : {Case{"a: \xff\n", "invalid leading UTF-8 octet at line 1 column 4"},
                        Case{"a: 1\nb: \xc3\n", "invalid trailing UTF-8 octet at line 2 column 5"},
                        Case{"k: \"\xe2\x82\"\n", "invalid trailing UTF-8 octet at line 1 column 7"},
                        Case{"a: \xc3", "incomplete UTF-8 octet sequence at line 1 column 4"},
                        Case{"\xed\xa0\x80", "invalid Unicode character at line 1 column 1"}}) {
    EXPECT_EQ(read_error(c.yaml), c.error);
  }
}

TEST(YamlEventsRobustness, ManySpacesGiveNoValue) {
  EXPECT_EQ(read_error(std::string(16 << 20, ' ')), "EOF while parsing a value");
}

// Random bytes and byte-flipped documents only need to fail or succeed
// cleanly; the sanitizer build checks the rest.
TEST(YamlEventsRobustness, RandomAndMutatedInputs) {
  std::mt19937 rng(1234);
  const std::string base = "a: &x [1, {b: \"c\\u00e9\"}, *x]\nd: |\n  text\ne: - 1\n";
  const std::string alphabet = "[]{}:,-&*!|>'\"# \n\t?%@`abc019.\xff\xc3";
  for (int round = 0; round < 3000; ++round) {
    std::string doc;
    if (round % 2 == 0) {
      doc.resize(rng() % 64);
      for (char& c : doc) c = static_cast<char>(rng());
    } else {
      doc = base;
      for (int flips = 1 + rng() % 4; flips > 0; --flips) {
        doc[rng() % doc.size()] = alphabet[rng() % alphabet.size()];
      }
    }
    auto r = read_events(doc);
    if (r.ok()) {
      EXPECT_TRUE(ends_match(*r));
    }
  }
}

}  // namespace
}  // namespace vorn::parser::yaml
