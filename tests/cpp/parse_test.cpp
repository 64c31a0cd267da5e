// Document-level parsing: size limit, format dispatch, file reading.
#include <gtest/gtest.h>

#include "temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "parser/parse.h"

namespace vorn::parser {
namespace {

constexpr const char* kMinimalJson = R"({"vornVersion":"1.0.0","id":"c","name":"n","version":"1"})";

std::string only_message(const ParseResult& r) {
  EXPECT_FALSE(r.contract);
  EXPECT_EQ(r.report.diagnostics.size(), 1u);
  return r.report.diagnostics.empty() ? "" : r.report.diagnostics[0].message;
}

// A valid JSON contract padded with trailing spaces to exactly `size` bytes.
std::string padded(std::size_t size) {
  std::string s = kMinimalJson;
  s.resize(size, ' ');
  return s;
}

TEST(Parse, SizeLimitIsInclusive) {
  EXPECT_TRUE(parse(padded(kMaxDocumentSize), DocumentFormat::Json).contract);
  EXPECT_EQ(only_message(parse(padded(kMaxDocumentSize + 1), DocumentFormat::Json)),
            "document exceeds maximum size of 16777216 bytes");
}

TEST(Parse, FailureIsOneParseErrorWithFiveKeys) {
  ParseResult r = parse("", DocumentFormat::Yaml);
  ASSERT_EQ(r.report.diagnostics.size(), 1u);
  EXPECT_EQ(r.to_json(),
            R"({"contract":null,"report":{"diagnostics":[{"id":"vorn:parse-error","severity":"error",)"
            R"("stage":"parse","category":"syntax","message":"EOF while parsing a value"}]}})");
  // An empty view with no buffer behind it reads like any empty text.
  for (auto format : {DocumentFormat::Yaml, DocumentFormat::Json})
    EXPECT_EQ(parse(std::string_view(), format).to_json(), parse("", format).to_json());
}

TEST(Parse, InputsThatDoNotDecode) {
  for (auto [format, text] : std::vector<std::pair<DocumentFormat, std::string>>{
           {DocumentFormat::Json, ""},
           {DocumentFormat::Json, std::string(kMinimalJson) + " {}"},
           {DocumentFormat::Yaml, "a: 1\n---\nb: 2\n"},
           {DocumentFormat::Yaml, std::string(10000, '[')},
           {DocumentFormat::Json, std::string(10000, '[')},
           {DocumentFormat::Yaml, "id: \xff\xfe\n"},
           {DocumentFormat::Json, "{\"id\":\"\xc3\x28\"}"},
           {DocumentFormat::Yaml, "a: &a [1,1,1,1,1,1,1,1,1]\nb: &b [*a,*a,*a,*a,*a,*a,*a,*a,*a]\n"
                                  "c: &c [*b,*b,*b,*b,*b,*b,*b,*b,*b]\nd: &d [*c,*c,*c,*c,*c,*c,*c,*c,*c]\n"
                                  "e: &e [*d,*d,*d,*d,*d,*d,*d,*d,*d]\nf: &f [*e,*e,*e,*e,*e,*e,*e,*e,*e]\n"
                                  "g: &g [*f,*f,*f,*f,*f,*f,*f,*f,*f]\nh: [*g,*g,*g,*g,*g,*g,*g,*g,*g]\n"},
       }) {
    ParseResult r = parse(text, format);
    EXPECT_FALSE(r.contract) << text.substr(0, 40);
    EXPECT_EQ(r.report.diagnostics.size(), 1u);
  }
}

TEST(Parse, JsonWhitespaceAfterValueIsAllowed) {
  EXPECT_TRUE(parse(std::string(kMinimalJson) + " \n\t ", DocumentFormat::Json).contract);
}

class ParseFile : public vorn::testing::TempDirTest {};

TEST_F(ParseFile, FormatFollowsTheExactExtension) {
  EXPECT_TRUE(parse_file(write("a.json", kMinimalJson))->contract);
  EXPECT_TRUE(parse_file(write("a.yml", kMinimalJson))->contract);  // JSON is YAML too
  EXPECT_TRUE(parse_file(write("a.b.yaml", "vornVersion: 1\nid: c\nname: n\nversion: 1\n"))->contract);
  for (const char* name : {"a.YAML", "noext", ".yaml", "a.", "a.txt"}) {
    std::string path = write(name, kMinimalJson);
    auto r = parse_file(path);
    ASSERT_FALSE(r.ok()) << name;
    EXPECT_EQ(r.error(), "unsupported file extension for " + path + "; use .yaml, .yml, or .json");
  }
}

TEST_F(ParseFile, ReadErrorsComeBeforeTheExtension) {
  std::string path = (dir_ / "missing.txt").string();
  auto r = parse_file(path);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error(), "failed to read " + path + ": No such file or directory");
  auto d = parse_file(dir_.string() + "/");
  ASSERT_FALSE(d.ok());
  EXPECT_EQ(d.error(), "failed to read " + dir_.string() + "/: Is a directory");
}

TEST_F(ParseFile, EndlessFileStopsAtTheLimit) {
  auto link = dir_ / "zero.json";
  std::filesystem::create_symlink("/dev/zero", link);
  auto r = parse_file(link.string());
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(only_message(r.value()), "document exceeds maximum size of 16777216 bytes");
}

}  // namespace
}  // namespace vorn::parser
