#pragma once
// Semantic Versioning 2.0.0 versions, parsed strictly: no "v" prefix, no
// surrounding white space, no leading zeros in numbers, ASCII identifiers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::versioning {

struct Version {
  std::uint64_t major = 0;
  std::uint64_t minor = 0;
  std::uint64_t patch = 0;
  // Dot-separated identifiers after "-" and after "+", as written.
  std::vector<std::string> pre_release;
  std::vector<std::string> build;

  bool operator==(const Version&) const = default;
};

// The version, or nothing when the text is not exactly one version. A
// major, minor or patch beyond 64 bits is rejected.
std::optional<Version> parse_version(std::string_view text);

}  // namespace vorn::versioning
