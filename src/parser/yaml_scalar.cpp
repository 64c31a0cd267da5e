#include "parser/yaml_scalar.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <limits>
#include <string>

namespace vorn::parser::yaml {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_octal(char c) { return c >= '0' && c <= '7'; }
bool is_hex(char c) {
  return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

template <class Pred>
std::size_t count_while(std::string_view s, std::size_t from, Pred pred) {
  std::size_t i = from;
  while (i < s.size() && pred(s[i])) ++i;
  return i - from;
}

// One of three spellings of a word (all of one length, known here, so that
// each comparison is a single load).
template <std::size_t N>
bool is_one_of(std::string_view s, const char (&a)[N], const char (&b)[N], const char (&c)[N]) {
  return s.size() == N - 1 && (std::memcmp(s.data(), a, N - 1) == 0 || std::memcmp(s.data(), b, N - 1) == 0 ||
                               std::memcmp(s.data(), c, N - 1) == 0);
}

void set_float(PlainScalar& e, double d) {
  e.type = ScalarType::Float;
  e.number.number = d;
}

void set_unsigned(PlainScalar& e, std::uint64_t v) {
  if (v <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    e.type = ScalarType::Int;
    e.number.integer = static_cast<std::int64_t>(v);
  } else {
    e.type = ScalarType::UInt;
    e.number.unsigned_integer = v;
  }
}

// from_chars leaves the value unset when it lies outside double's range. The
// decimal exponent of the first significant digit tells overflow (infinity)
// from underflow (zero).
double saturated_decimal(std::string_view s) {
  bool negative = s[0] == '-';
  std::size_t i = negative ? 1 : 0;
  std::int64_t magnitude = 0;
  bool seen_point = false, seen_significant = false;
  for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
    if (s[i] == '.') {
      seen_point = true;
    } else if (!seen_significant && s[i] == '0') {
      if (seen_point) --magnitude;
    } else {
      seen_significant = true;
      if (!seen_point) ++magnitude;
    }
  }
  std::int64_t exponent = 0;
  bool negative_exponent = false;
  if (i < s.size()) {
    ++i;
    if (s[i] == '+' || s[i] == '-') negative_exponent = s[i++] == '-';
    for (; i < s.size(); ++i) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[i] - '0');
    }
  }
  if (negative_exponent) exponent = -exponent;
  // magnitude is bounded by the input size, so the sum cannot overflow.
  double value = magnitude + exponent > 0 ? kInfinity : 0.0;
  return negative ? -value : value;
}

// s is decimal float or integer text, without a leading '+'.
double parse_decimal(std::string_view s) {
  double d = 0;
  auto r = std::from_chars(s.data(), s.data() + s.size(), d);
  if (r.ec == std::errc::result_out_of_range) return saturated_decimal(s);
  return d;
}

// Hex digits of an integer that exceeds uint64; from_chars rounds to nearest.
double parse_big_hex(std::string_view digits) {
  double d = 0;
  auto r = std::from_chars(digits.data(), digits.data() + digits.size(), d,
                           std::chars_format::hex);
  if (r.ec == std::errc::result_out_of_range) return kInfinity;
  return d;
}

// Octal digits of an integer that exceeds uint64, regrouped as hex digits so
// that rounding to double is done once, by from_chars.
double parse_big_octal(std::string_view digits) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(digits.size());
  unsigned pending = 0;
  int pending_bits = 0;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    pending |= static_cast<unsigned>(*it - '0') << pending_bits;
    pending_bits += 3;
    if (pending_bits >= 4) {
      hex.push_back(kHex[pending & 15]);
      pending >>= 4;
      pending_bits -= 4;
    }
  }
  if (pending_bits > 0) hex.push_back(kHex[pending]);
  std::reverse(hex.begin(), hex.end());
  return parse_big_hex(hex);
}

// "0o17" or "0x1f"; anything else after the prefix makes it a string.
void type_prefixed_integer(std::string_view s, PlainScalar& e) {
  bool hex = s[1] == 'x';
  std::string_view digits = s.substr(2);
  std::size_t valid = hex ? count_while(digits, 0, is_hex) : count_while(digits, 0, is_octal);
  if (valid != digits.size()) return;
  std::uint64_t v = 0;
  auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v, hex ? 16 : 8);
  if (r.ec == std::errc()) return set_unsigned(e, v);
  set_float(e, hex ? parse_big_hex(digits) : parse_big_octal(digits));
}

// [-+]?[0-9]+, with s already known to match.
void type_decimal_integer(std::string_view s, PlainScalar& e) {
  if (s[0] == '+') s.remove_prefix(1);
  const char* end = s.data() + s.size();
  std::int64_t i = 0;
  if (std::from_chars(s.data(), end, i).ec == std::errc()) {
    e.type = ScalarType::Int;
    e.number.integer = i;
    return;
  }
  std::uint64_t u = 0;
  if (s[0] != '-' && std::from_chars(s.data(), end, u).ec == std::errc()) {
    e.type = ScalarType::UInt;
    e.number.unsigned_integer = u;
    return;
  }
  set_float(e, parse_decimal(s));
}

// [-+]?(\.[0-9]+|[0-9]+(\.[0-9]*)?)([eE][-+]?[0-9]+)?
bool is_decimal_float(std::string_view s) {
  std::size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  std::size_t int_digits = count_while(s, i, is_digit);
  i += int_digits;
  std::size_t frac_digits = 0;
  if (i < s.size() && s[i] == '.') {
    frac_digits = count_while(s, ++i, is_digit);
    i += frac_digits;
  }
  if (int_digits == 0 && frac_digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exp_digits = count_while(s, i, is_digit);
    if (exp_digits == 0) return false;
    i += exp_digits;
  }
  return i == s.size();
}

bool type_special_float(std::string_view s, PlainScalar& e) {
  std::string_view body = s;
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    body.remove_prefix(1);
  }
  if (is_one_of(body, ".inf", ".Inf", ".INF")) {
    set_float(e, negative ? -kInfinity : kInfinity);
    return true;
  }
  if (body.size() == s.size() && is_one_of(body, ".nan", ".NaN", ".NAN")) {
    set_float(e, std::numeric_limits<double>::quiet_NaN());
    return true;
  }
  return false;
}

// s starts with a digit, a sign or a point.
void type_number(std::string_view s, PlainScalar& e) {
  if (type_special_float(s, e)) return;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'o')) {
    return type_prefixed_integer(s, e);
  }
  std::size_t sign = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (s.size() > sign && count_while(s, sign, is_digit) == s.size() - sign) {
    return type_decimal_integer(s, e);
  }
  if (is_decimal_float(s)) set_float(e, parse_decimal(s[0] == '+' ? s.substr(1) : s));
}

}  // namespace

PlainScalar type_any_plain_scalar(std::string_view text) {
  PlainScalar e;
  if (text.empty()) {
    e.type = ScalarType::Null;
    e.empty = true;
    return e;
  }
  switch (text[0]) {
    case '~':
      if (text.size() == 1) e.type = ScalarType::Null;
      break;
    case 'n': case 'N':
      if (is_one_of(text, "null", "Null", "NULL")) e.type = ScalarType::Null;
      break;
    case 't': case 'T':
      if (is_one_of(text, "true", "True", "TRUE")) {
        e.type = ScalarType::Bool;
        e.boolean = true;
      }
      break;
    case 'f': case 'F':
      if (is_one_of(text, "false", "False", "FALSE")) e.type = ScalarType::Bool;
      break;
    case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9':
    case '+': case '-': case '.':
      type_number(text, e);
      break;
    default:
      break;
  }
  return e;
}

}  // namespace vorn::parser::yaml
