// Semantic Versioning 2.0.0 parsing against the grammar's own examples and
// the edges of its number and identifier rules.
#include <gtest/gtest.h>

#include <string>

#include "versioning/semver.h"

namespace vorn::versioning {
namespace {

class SemverValid : public ::testing::TestWithParam<const char*> {};
class SemverInvalid : public ::testing::TestWithParam<const char*> {};

TEST_P(SemverValid, Parses) { EXPECT_TRUE(parse_version(GetParam()).has_value()) << GetParam(); }
TEST_P(SemverInvalid, IsRejected) { EXPECT_FALSE(parse_version(GetParam()).has_value()) << GetParam(); }

INSTANTIATE_TEST_SUITE_P(
    Grammar, SemverValid,
    ::testing::Values("0.0.4", "1.2.3", "10.20.30", "1.1.2-prerelease+meta", "1.1.2+meta", "1.1.2+meta-valid",
                      "1.0.0-alpha", "1.0.0-beta", "1.0.0-alpha.beta", "1.0.0-alpha.beta.1", "1.0.0-alpha.1",
                      "1.0.0-alpha0.valid", "1.0.0-alpha.0valid",
                      "1.0.0-alpha-a.b-c-somethinglong+build.1-aef.1-its-okay", "1.0.0-rc.1+build.1",
                      "2.0.0-rc.1+build.123", "1.2.3-beta", "10.2.3-DEV-SNAPSHOT", "1.2.3-SNAPSHOT-123",
                      "1.0.0", "2.0.0", "1.1.7", "2.0.0+build.1848", "2.0.1-alpha.1227", "1.0.0-alpha+beta",
                      "1.2.3----RC-SNAPSHOT.12.9.1--.12+788", "1.2.3----R-S.12.9.1--.12+meta",
                      "1.2.3----RC-SNAPSHOT.12.9.1--.12", "1.0.0+0.build.1-rc.10000aaa-kk-0.1",
                      "1.0.0-0A.is.legal",
                      // Edges of the rules.
                      "0.0.0", "1.0.0-0", "1.0.0-00a", "1.0.0+001", "1.0.0+0.00", "1.0.0--", "1.0.0+-",
                      "1.0.0-99999999999999999999999999", "18446744073709551615.18446744073709551615.0"));

INSTANTIATE_TEST_SUITE_P(
    Grammar, SemverInvalid,
    ::testing::Values("1", "1.2", "1.2.3-0123", "1.2.3-0123.0123", "1.1.2+.123", "+invalid", "-invalid",
                      "-invalid+invalid", "-invalid.01", "alpha", "alpha.beta", "alpha.beta.1", "alpha.1",
                      "alpha+beta", "alpha_beta", "alpha.", "alpha..", "beta", "1.0.0-alpha_beta", "-alpha.",
                      "1.0.0-alpha..", "1.0.0-alpha..1", "1.0.0-alpha...1", "1.0.0-alpha....1",
                      "1.0.0-alpha.....1", "1.0.0-alpha......1", "1.0.0-alpha.......1", "01.1.1", "1.01.1",
                      "1.1.01", "1.2.3.DEV", "1.2-SNAPSHOT", "1.2.31.2.3----RC-SNAPSHOT.12.09.1--..12+788",
                      "1.2-RC-SNAPSHOT", "-1.0.3-gamma+b7718", "+justmeta", "9.8.7+meta+meta",
                      "9.8.7-whatever+meta+meta",
                      "99999999999999999999999.999999999999999999.99999999999999999----RC-SNAPSHOT.12.09.1"
                      "--------------------------------..12",
                      // Edges of the rules.
                      "", "v1.0.0", " 1.0.0", "1.0.0 ", "1.0.0\n", "1.0.0-", "1.0.0+", "1.0.0-a+", "1.0.0-.a",
                      "1.0.0+a.", "1..0", "1.0.", ".1.0.0", "1.0.0.0", "1.0.0-a b", "1.0.0-\xc3\xa9",
                      "1.0.0+\xc3\xa9", "\xef\xbc\x91.0.0", "1.0.0-01", "00.0.0", "-1.0.0", "1.-0.0",
                      "18446744073709551616.0.0", "0.18446744073709551616.0", "0.0.99999999999999999999",
                      "1.0.0-rc.1+build.1+x", "1.0.0_rc"));

TEST(Semver, KeepsNumbersAndIdentifiersAsWritten) {
  auto v = parse_version("18446744073709551615.0.10-rc.01a.7+build.007");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(*v, (Version{18446744073709551615u, 0, 10, {"rc", "01a", "7"}, {"build", "007"}}));
  EXPECT_EQ(*parse_version("1.2.3"), (Version{1, 2, 3, {}, {}}));
  EXPECT_EQ(*parse_version("1.2.3+a-b.c"), (Version{1, 2, 3, {}, {"a-b", "c"}}));
}

}  // namespace
}  // namespace vorn::versioning
