// Type texts through the parser, the splitting and arity helpers, the
// identifier tests and the compatibility answer; deep texts against a
// plain recursive parser.
#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "model/identifiers.h"
#include "model/types/logical_type.h"
#include "support/unicode.h"

namespace vorn::model::types {
namespace {

using E = TypeParseError;
using namespace std::string_view_literals;

std::string render(const TypeParseError& e) {
  if (auto* v = e.get_if<E::UnknownType>()) return "UnknownType(" + v->text + ")";
  if (auto* v = e.get_if<E::MissingTypeParameters>()) return "MissingParameters(" + v->name + ")";
  if (auto* v = e.get_if<E::Malformed>()) return "Malformed(" + v->detail + ")";
  if (auto* v = e.get_if<E::UnknownNestedParameter>()) return "UnknownNested(" + v->parameter + ")";
  const auto& a = std::get<E::ArityMismatch>(e.value);
  return "ArityMismatch(" + a.name + "," + a.expected + "," + std::to_string(a.found) + ")";
}

std::string render(const TypeResult<LogicalType>& r) {
  if (!r) return render(r.error());
  const LogicalType& t = r.value();
  if (auto* p = t.get_if<LogicalType::Primitive>()) return "primitive " + p->name;
  if (auto* x = t.get_if<LogicalType::Extension>()) return "extension " + x->text;
  const auto& c = std::get<LogicalType::Composite>(t.value);
  std::string out = "composite " + c.name;
  for (const std::string& p : c.parameters) out += " [" + p + "]";
  return out;
}

struct ParseCase {
  std::string text;
  std::string expected;
};

class ParseLogicalType : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLogicalType, ParsesOrFailsExactly) {
  EXPECT_EQ(render(parse_logical_type(GetParam().text)), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseLogicalType,
    ::testing::Values(
        ParseCase{"  integer\t", "primitive integer"},
        ParseCase{"\u00a0datetime\u2003", "primitive datetime"},
        ParseCase{"Integer", "UnknownType(Integer)"},
        ParseCase{"", "Malformed(type is empty)"},
        ParseCase{" \n\u3000", "Malformed(type is empty)"},
        ParseCase{"list", "MissingParameters(list)"},
        ParseCase{" object ", "MissingParameters(object)"},
        ParseCase{"list<>", "Malformed(list<>)"},
        ParseCase{" list< > ", "Malformed(list< >)"},
        ParseCase{"list<string", "Malformed(list<string)"},
        ParseCase{"list<string>x", "Malformed(list<string>x)"},
        ParseCase{"list<string>>", "Malformed(list<string>>)"},
        ParseCase{"list<string> \u00a0", "composite list [string]"},
        ParseCase{"list <string>", "composite list [string]"},
        ParseCase{"list<,>", "Malformed(,)"},
        ParseCase{"list< , ,>", "Malformed(, ,)"},
        ParseCase{"map<string,,integer>", "composite map [string] [integer]"},
        ParseCase{"map<string>", "ArityMismatch(map,exactly 2,1)"},
        ParseCase{"list<string,integer>", "ArityMismatch(list,exactly 1,2)"},
        ParseCase{"tuple<string, integer, date>", "composite tuple [string] [integer] [date]"},
        ParseCase{"object<string>", "composite object [string]"},
        ParseCase{"list<foo,bar>", "UnknownNested(foo)"},
        ParseCase{"map<string, bar>", "UnknownNested(bar)"},
        ParseCase{"list<foo>", "UnknownNested(foo)"},
        ParseCase{"list<<string>>", "UnknownNested(<string>)"},
        ParseCase{"map<string, list<integer>>", "composite map [string] [list<integer>]"},
        ParseCase{"map< list< integer > ,string >", "composite map [list< integer >] [string]"},
        ParseCase{"list<list<integer,date>>", "UnknownNested(list<integer,date>)"},
        ParseCase{"list<list<string>x>", "UnknownNested(list<string>x)"},
        ParseCase{"list<list>", "UnknownNested(list)"},
        ParseCase{"list<vendor:geo<a<b>>>", "composite list [vendor:geo<a<b>>]"},
        ParseCase{"list<vendor:geo<a<b>>", "Malformed(list<vendor:geo<a<b>>)"},
        ParseCase{"vendor:geo", "extension vendor:geo"},
        ParseCase{" vendor:geo<integer> ", "extension vendor:geo<integer>"},
        ParseCase{"vendor:geo<<<", "extension vendor:geo<<<"},
        ParseCase{"foo<a:b>", "extension foo<a:b>"},
        ParseCase{"foo<integer>", "UnknownType(foo)"},
        ParseCase{" foo <integer>", "UnknownType(foo)"},
        ParseCase{"vorn:geo", "UnknownType(vorn:geo)"},
        ParseCase{"http:x", "UnknownType(http:x)"},
        ParseCase{"string:x", "UnknownType(string:x)"},
        ParseCase{"map:x<integer>", "UnknownType(map:x)"},
        ParseCase{"vendor:", "UnknownType(vendor:)"},
        ParseCase{":geo", "UnknownType(:geo)"}));

struct SplitCase {
  std::string text;
  std::vector<std::string> pieces;  // empty: Malformed carrying the text
};

class SplitTypeParameters : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTypeParameters, SplitsAtTopLevelCommas) {
  const SplitCase& c = GetParam();
  auto result = split_type_parameters(c.text);
  if (c.pieces.empty()) {
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), (E{E::Malformed{c.text}}));
  } else {
    ASSERT_TRUE(result.ok()) << render(result.error());
    EXPECT_EQ(result.value(), c.pieces);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitTypeParameters,
    ::testing::Values(SplitCase{"string,,integer", {"string", "integer"}},
                      SplitCase{" a , map<b,c> ,d ", {"a", "map<b,c>", "d"}},
                      SplitCase{"a<b,c", {"a<b,c"}},
                      SplitCase{"a>,b", {"a>,b"}},
                      SplitCase{"a>,<b,c", {"a>,<b", "c"}},
                      SplitCase{",", {}},
                      SplitCase{" , \u00a0, ", {}},
                      SplitCase{"", {}}));

TEST(CompositeArity, FitsEachComposite) {
  struct Case {
    const char* name;
    std::size_t count;
    const char* expected;  // nullptr: passes
  };
  const Case cases[] = {{"list", 1, nullptr},       {"list", 0, "exactly 1"},
                        {"list", 2, "exactly 1"},   {"map", 2, nullptr},
                        {"map", 3, "exactly 2"},    {"tuple", 0, "at least 1"},
                        {"tuple", 9, nullptr},      {"object", 0, "at least 1"},
                        {"other", 0, nullptr}};
  for (const Case& c : cases) {
    auto error = validate_composite_arity(c.name, c.count);
    if (c.expected == nullptr) {
      EXPECT_FALSE(error.has_value()) << c.name << " " << c.count;
    } else {
      EXPECT_EQ(error, (E{E::ArityMismatch{c.name, c.expected, c.count}}));
    }
  }
}

TEST(VendorIdentifier, NeedsANamespaceThatIsNotReserved) {
  const std::pair<const char*, bool> cases[] = {
      {"vendor:field", true}, {"a:b:c", true},  {"vorn:x", false}, {"https:x", false},
      {"http:x", false},      {"vendor:", false}, {":x", false},   {"vendor", false},
      {" vendor:x", true},    {"Vorn:x", true},   {"a::", true},   {"", false}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(identifiers::is_vendor_namespaced_identifier(text), expected) << text;
  }
}

TEST(ExtensionTypeIdentifier, TrimsAndRejectsBuiltInNamespaces) {
  const std::pair<const char*, bool> cases[] = {
      {" vendor:geo ", true}, {"string:x", false}, {"object:x", false}, {"duration:x", false},
      {"String:x", true},     {"vorn:x", false},   {"geo", false},      {" :x", false}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(is_extension_type_identifier(text), expected) << text;
  }
}

TEST(TypeCompatible, ComparesParsedTypes) {
  struct Case {
    const char* from;
    const char* to;
    TypeCompatibility expected;
  };
  using C = TypeCompatibility;
  const Case cases[] = {
      {"integer", "integer", C::Compatible},
      {"integer", "decimal", C::Lossy},
      {"decimal", "integer", C::Lossy},
      {"integer", "string", C::Incompatible},
      {"list<integer>", "list<decimal>", C::Incompatible},
      {"list<list<integer>>", "list<list< integer >>", C::Incompatible},
      {"list<integer>", "list< integer >", C::Compatible},
      {"tuple<integer,date>", "tuple<integer>", C::Incompatible},
      {"tuple<integer>", "object<integer>", C::Incompatible},
      {"vendor:geo", "vendor:geo", C::Compatible},
      {"vendor:geo", "vendor:Geo", C::Incompatible},
      {"vendor:geo", "string", C::Incompatible},
      {"list<string>", "string", C::Incompatible},
  };
  for (const Case& c : cases) {
    auto from = parse_logical_type(c.from);
    auto to = parse_logical_type(c.to);
    ASSERT_TRUE(from.ok() && to.ok()) << c.from << " / " << c.to;
    EXPECT_EQ(type_compatible(from.value(), to.value()), c.expected) << c.from << " / " << c.to;
  }
}

TEST(LogicalTypeValue, EqualityAndDeepCopy) {
  LogicalType original = parse_logical_type("map<string, list<integer>>").value();
  LogicalType copy = original.clone();
  EXPECT_TRUE(copy.eq(original));
  std::get<LogicalType::Composite>(copy.value).parameters[1] = "integer";
  EXPECT_FALSE(copy.eq(original));
  EXPECT_EQ(std::get<LogicalType::Composite>(original.value).parameters[1], "list<integer>");
  LogicalType primitive{LogicalType::Primitive{"x"}};
  EXPECT_FALSE(primitive.eq(LogicalType{LogicalType::Extension{"x"}}));
}


// A plain recursive reading of the type grammar, kept naive on purpose so
// that the work-list parser can be checked against it on small texts.
bool reference_name_in(std::string_view name, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) {
    if (n == name) return true;
  }
  return false;
}

TypeResult<LogicalType> reference_parse(std::string_view text) {
  const auto primitives = {"string"sv, "binary"sv, "boolean"sv, "integer"sv, "decimal"sv,
                           "date"sv,   "time"sv,   "datetime"sv, "duration"sv};
  const auto composites = {"list"sv, "map"sv, "tuple"sv, "object"sv};
  std::string_view t = trim_white_space(text);
  if (t.empty()) return E{E::Malformed{"type is empty"}};
  if (reference_name_in(t, primitives)) return LogicalType{LogicalType::Primitive{std::string(t)}};
  if (reference_name_in(t, composites)) return E{E::MissingTypeParameters{std::string(t)}};
  std::size_t open = t.find('<');
  std::string_view base = trim_white_space(t.substr(0, open));
  if (open == std::string_view::npos || !reference_name_in(base, composites)) {
    if (is_extension_type_identifier(t)) return LogicalType{LogicalType::Extension{std::string(t)}};
    return E{E::UnknownType{std::string(base)}};
  }
  int level = 0;
  std::size_t close = std::string_view::npos;
  for (std::size_t i = open; i < t.size() && close == std::string_view::npos; ++i) {
    if (t[i] == '<') ++level;
    if (t[i] == '>' && --level == 0) close = i;
  }
  if (close == std::string_view::npos || !is_blank(t.substr(close + 1))) {
    return E{E::Malformed{std::string(t)}};
  }
  std::string_view inner = trim_white_space(t.substr(open + 1, close - open - 1));
  if (inner.empty()) return E{E::Malformed{std::string(t)}};
  auto pieces = split_type_parameters(inner);
  if (!pieces) return pieces.error();
  for (const std::string& piece : pieces.value()) {
    if (!reference_parse(piece)) return E{E::UnknownNestedParameter{piece}};
  }
  if (auto error = validate_composite_arity(base, pieces.value().size())) return *error;
  return LogicalType{LogicalType::Composite{std::string(base), pieces.value()}};
}

// Mostly well-formed declarations, with the usual slips mixed in.
std::string generate_declaration(std::mt19937& rng, int depth) {
  static const char* kNames[] = {"string", "integer", "list", "map", "tuple", "object", "foo",
                                 "vendor:x", "vorn:y", "string:z", "", " "};
  static const char* kSeparators[] = {",", ", ", ",,", " , ", ",\u00a0"};
  static const char* kTails[] = {"", "", "", " ", "x", ">", "<"};
  auto pick = [&](auto& items) {
    return items[std::uniform_int_distribution<std::size_t>(0, std::size(items) - 1)(rng)];
  };
  std::string name = pick(kNames);
  if (depth == 0 || rng() % 3 == 0) return name;
  std::string out = name + (rng() % 4 == 0 ? " <" : "<");
  std::size_t count = rng() % 4;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out += pick(kSeparators);
    out += generate_declaration(rng, depth - 1);
  }
  return out + (rng() % 6 == 0 ? "" : ">") + pick(kTails);
}

// Arbitrary token soup, mostly malformed.
std::string generate_soup(std::mt19937& rng) {
  static const char* kTokens[] = {"list", "map", "tuple", "string", "a:b", "<", "<", ">", ">",
                                  ",", " ", "\u2003", "integer"};
  std::string out;
  for (std::size_t n = rng() % 12; n > 0; --n) out += kTokens[rng() % std::size(kTokens)];
  return out;
}

TEST(ParseLogicalTypeReference, AgreesOnGeneratedTexts) {
  std::mt19937 rng(20240611);
  std::size_t successes = 0;
  for (int i = 0; i < 6000; ++i) {
    std::string text = i % 2 == 0 ? generate_declaration(rng, 4) : generate_soup(rng);
    std::string expected = render(reference_parse(text));
    ASSERT_EQ(render(parse_logical_type(text)), expected) << "text: " << text;
    if (expected.find('(') == std::string::npos) ++successes;
  }
  // The generators must reach the success paths, not only the failures.
  EXPECT_GT(successes, 300u);
}

std::string repeat(std::string_view piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

constexpr std::size_t kDeep = 100000;

std::string nested_lists(std::size_t depth, std::string_view core, std::size_t closers) {
  return repeat("list<", depth) + std::string(core) + repeat(">", closers);
}

struct DeepCase {
  const char* name;
  std::string text;
  std::string expected;
};

class DeepParse : public ::testing::TestWithParam<DeepCase> {};

TEST_P(DeepParse, ParsesWithoutRecursion) {
  EXPECT_EQ(render(parse_logical_type(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DeepParse,
    ::testing::Values(
        DeepCase{"lists", nested_lists(kDeep, "string", kDeep),
                 "composite list [" + nested_lists(kDeep - 1, "string", kDeep - 1) + "]"},
        DeepCase{"maps", repeat("map<string, ", kDeep) + "integer" + repeat(">", kDeep),
                 "composite map [string] [" + repeat("map<string, ", kDeep - 1) + "integer" +
                     repeat(">", kDeep - 1) + "]"},
        DeepCase{"unclosed", repeat("list<", kDeep), "Malformed(" + repeat("list<", kDeep) + ")"},
        DeepCase{"one_short", nested_lists(kDeep, "string", kDeep - 1),
                 "Malformed(" + nested_lists(kDeep, "string", kDeep - 1) + ")"},
        DeepCase{"one_over", nested_lists(kDeep, "string", kDeep + 1),
                 "Malformed(" + nested_lists(kDeep, "string", kDeep + 1) + ")"},
        DeepCase{"unknown_at_bottom", nested_lists(kDeep, "foo", kDeep),
                 "UnknownNested(" + nested_lists(kDeep - 1, "foo", kDeep - 1) + ")"},
        DeepCase{"arity_at_bottom", nested_lists(kDeep, "string,integer", kDeep),
                 "UnknownNested(" + nested_lists(kDeep - 1, "string,integer", kDeep - 1) + ")"},
        DeepCase{"commas_at_bottom", nested_lists(kDeep, " , ", kDeep),
                 "UnknownNested(" + nested_lists(kDeep - 1, " , ", kDeep - 1) + ")"},
        DeepCase{"later_parameter_fails", "map<" + nested_lists(kDeep, "string", kDeep) + ", foo>",
                 "UnknownNested(foo)"},
        DeepCase{"earlier_parameter_fails", "map<" + nested_lists(kDeep, "bar", kDeep) + ", foo>",
                 "UnknownNested(" + nested_lists(kDeep, "bar", kDeep) + ")"},
        DeepCase{"nested_before_arity", "list<" + nested_lists(kDeep, "bar", kDeep) + ", foo>",
                 "UnknownNested(" + nested_lists(kDeep, "bar", kDeep) + ")"},
        DeepCase{"brackets_inside_extension_unbalance", nested_lists(kDeep, "vendor:x<<<", kDeep),
                 "Malformed(" + nested_lists(kDeep, "vendor:x<<<", kDeep) + ")"},
        DeepCase{"wide_tuple", "tuple<" + repeat("string,", kDeep) + "integer>",
                 "composite tuple" + repeat(" [string]", kDeep) + " [integer]"}),
    [](const ::testing::TestParamInfo<DeepCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorn::model::types
