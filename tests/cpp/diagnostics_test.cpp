#include <gtest/gtest.h>

#include "diagnostics/codes.h"
#include "diagnostics/report.h"

namespace vorn::diagnostics {
namespace {

std::string json_of(const Diagnostic& d) {
  JsonWriter w;
  d.serialize(w);
  return w.take();
}

Diagnostic parse_error(std::string message) {
  return Diagnostic::make(Code::ParseError, DiagnosticSeverity::Error, DiagnosticStage::Parse,
                          DiagnosticCategory::Syntax, std::move(message));
}

TEST(Diagnostics, WritesOptionalKeysOnlyWhenPresent) {
  EXPECT_EQ(json_of(parse_error("bad")),
            R"({"id":"vorn:parse-error","severity":"error","stage":"parse","category":"syntax","message":"bad"})");
  EXPECT_EQ(json_of(parse_error("bad").with_remediation("Fix it")),
            R"({"id":"vorn:parse-error","severity":"error","stage":"parse","category":"syntax","message":"bad","remediation":"Fix it"})");
  EXPECT_EQ(json_of(parse_error("bad").with_object_ref("a").with_object_ref("")),
            R"({"id":"vorn:parse-error","severity":"error","stage":"parse","category":"syntax","message":"bad","objectRef":""})");
}

TEST(Diagnostics, EscapesMessagesButKeepsUtf8) {
  EXPECT_EQ(json_of(parse_error("q\"b\\c\n\x01 é")),
            R"({"id":"vorn:parse-error","severity":"error","stage":"parse","category":"syntax","message":"q\"b\\c\n\u0001 é"})");
}

TEST(Diagnostics, EnumerationsAreWrittenAsTheirNames) {
  auto d = Diagnostic::make("vorn:x", DiagnosticSeverity::Information, DiagnosticStage::CanonicalObjectModel,
                            DiagnosticCategory::Extension, "m");
  EXPECT_EQ(json_of(d),
            R"({"id":"vorn:x","severity":"information","stage":"canonicalObjectModel","category":"extension","message":"m"})");
}

TEST(Diagnostics, ReportKeepsPushOrder) {
  DiagnosticReport report;
  EXPECT_EQ(report.to_json(), R"({"diagnostics":[]})");
  report.push(parse_error("one"));
  report.push(parse_error("two"));
  EXPECT_EQ(report.to_json(),
            R"({"diagnostics":[{"id":"vorn:parse-error","severity":"error","stage":"parse","category":"syntax","message":"one"},)"
            R"({"id":"vorn:parse-error","severity":"error","stage":"parse","category":"syntax","message":"two"}]})");
}

TEST(Diagnostics, CodeTableIsCompleteAndOrdered) {
  auto codes = all_codes();
  ASSERT_EQ(codes.size(), 38u);
  EXPECT_EQ(codes.front().id, "vorn:parse-error");
  EXPECT_EQ(codes[29].id, "vorn:non-deterministic-semantics");
  EXPECT_EQ(codes[29].title, "Non Deterministic Semantics");
  EXPECT_EQ(codes.back().id, "vorn:optimization-skipped");
  for (const CodeInfo& c : codes) EXPECT_EQ(c.id.substr(0, 5), "vorn:");
}

}  // namespace
}  // namespace vorn::diagnostics
