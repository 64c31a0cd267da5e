#include "versioning/semver.h"

#include <limits>

namespace vorn::versioning {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_identifier_char(char c) {
  return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
}

bool all_digits(std::string_view text) {
  for (char c : text)
    if (!is_digit(c)) return false;
  return true;
}

// "0", or digits without a leading zero.
bool is_numeric_identifier(std::string_view text) {
  return !text.empty() && all_digits(text) && (text.size() == 1 || text[0] != '0');
}

std::optional<std::uint64_t> parse_number(std::string_view text) {
  if (!is_numeric_identifier(text)) return std::nullopt;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  for (char c : text) {
    std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
    if (value > (kMax - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

// Splits at every '.', requiring each piece to be a non-empty run of
// identifier characters; `numeric_rule` also bars leading zeros in
// all-digit pieces (pre-release, not build metadata).
std::optional<std::vector<std::string>> parse_identifiers(std::string_view text, bool numeric_rule) {
  std::vector<std::string> out;
  while (true) {
    std::size_t dot = text.find('.');
    std::string_view piece = text.substr(0, dot);
    if (piece.empty()) return std::nullopt;
    for (char c : piece)
      if (!is_identifier_char(c)) return std::nullopt;
    if (numeric_rule && all_digits(piece) && !is_numeric_identifier(piece)) return std::nullopt;
    out.emplace_back(piece);
    if (dot == std::string_view::npos) return out;
    text.remove_prefix(dot + 1);
  }
}

}  // namespace

std::optional<Version> parse_version(std::string_view text) {
  Version v;
  // The core holds neither '-' nor '+', and the pre-release holds no '+'.
  std::size_t plus = text.find('+');
  if (plus != std::string_view::npos) {
    auto build = parse_identifiers(text.substr(plus + 1), false);
    if (!build) return std::nullopt;
    v.build = std::move(*build);
    text = text.substr(0, plus);
  }
  std::size_t dash = text.find('-');
  if (dash != std::string_view::npos) {
    auto pre = parse_identifiers(text.substr(dash + 1), true);
    if (!pre) return std::nullopt;
    v.pre_release = std::move(*pre);
    text = text.substr(0, dash);
  }
  std::uint64_t* parts[] = {&v.major, &v.minor, &v.patch};
  for (std::size_t i = 0; i < 3; ++i) {
    std::size_t dot = i < 2 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    auto number = parse_number(text.substr(0, dot));
    if (!number) return std::nullopt;
    *parts[i] = *number;
    text.remove_prefix(i < 2 ? dot + 1 : dot);
  }
  return v;
}

}  // namespace vorn::versioning
