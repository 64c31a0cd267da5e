#pragma once
// The vocabulary of contract comparison: how compatible two contracts are,
// what a change is about, and which aspects a comparison looks at.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorn::compatibility::types {

enum class CompatibilityLevel : std::uint8_t {
  Identical = 0,
  BackwardCompatible = 1,
  ForwardCompatible = 2,
  ConditionallyCompatible = 3,
  Incompatible = 4,
};

// "identical", "backwardCompatible", ...
std::string_view to_string(CompatibilityLevel level);

enum class ChangeCategory : std::uint8_t {
  Metadata = 0,
  Interface = 1,
  Type = 2,
  Semantic = 3,
  Rule = 4,
  Lineage = 5,
  Extension = 6,
};

// The JSON string: "metadata", "interface", ...
std::string_view to_string(ChangeCategory category);
// The capitalised name that migration hints lower-case: "Metadata", ...
std::string_view textual_form(ChangeCategory category);

// The aspects a comparison looks at. Rules are compared under `semantics`.
struct ComparisonScope {
  bool interfaces = true;
  bool types = true;
  bool semantics = true;
  bool lineage = true;
  bool metadata = true;
  bool extensions = true;

  static ComparisonScope every_aspect() { return {}; }
  static ComparisonScope none() { return {false, false, false, false, false, false}; }

  bool operator==(const ComparisonScope&) const = default;

  // The tokens a scope is not made of, in the order met, repeats kept.
  struct Rejected {
    std::vector<std::string> tokens;
    bool operator==(const Rejected&) const = default;
  };
  // No tokens mean every aspect; "all" means every aspect at once, whatever
  // came before or follows. Names match byte for byte.
  static std::variant<ComparisonScope, Rejected> from_tokens(const std::vector<std::string>& tokens);
};

// One aspect of a classification: whether the forward comparison found
// anything there.
struct AspectResult {
  std::string aspect;
  bool compatible = true;
  std::string message;

  bool operator==(const AspectResult&) const = default;
};

}  // namespace vorn::compatibility::types
