#include "support/byte_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn::bytes {
namespace {

// Word-wise copies and comparisons must agree with a byte-wise one whatever the length
// and wherever the one differing byte (or the excluded byte) sits.
TEST(ByteScan, ComparisonsAgreeWithBytewise) {
  for (std::size_t n = 0; n <= 26; ++n) {
    std::string a(n, 'k');
    EXPECT_TRUE(same(a.data(), a.data(), n));
    EXPECT_TRUE(same_without(a.data(), a.data(), n, '\\'));
    for (std::size_t at = 0; at < n; ++at) {
      std::string b = a;
      b[at] = 'q';
      EXPECT_FALSE(same(a.data(), b.data(), n)) << n << " " << at;
      std::string copied(n + 2, '#');
      copy(copied.data() + 1, b.data(), n);
      EXPECT_EQ(copied, "#" + b + "#");
      EXPECT_FALSE(same_without(a.data(), b.data(), n, '\\')) << n << " " << at;
      b[at] = '\\';
      EXPECT_TRUE(same(b.data(), b.data(), n));
      EXPECT_FALSE(same_without(b.data(), b.data(), n, '\\')) << n << " " << at;
    }
  }
}

}  // namespace
}  // namespace vorn::bytes
