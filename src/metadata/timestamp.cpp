// The timestamp grammar of metadata dates. Deliberately looser than full
// ISO-8601 in the time part (any digit count, unchecked fractions) and
// stricter in the date part (calendar days).
#include "metadata/validate.h"

#include "support/unicode.h"

namespace vorn::metadata::validate {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The decimal value of a run of ASCII digits, saturating so that long runs
// of leading zeros still read and long numbers still fail range tests.
std::optional<unsigned> read_number(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  unsigned value = 0;
  for (char c : digits) {
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > 100000) value = 100000;
  }
  return value;
}

bool is_leap_year(unsigned year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

unsigned days_in_month(unsigned year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

bool is_date(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  auto year = read_number(text.substr(0, 4));
  auto month = read_number(text.substr(5, 2));
  auto day = read_number(text.substr(8, 2));
  if (!year || !month || !day || *month < 1 || *month > 12) return false;
  return *day >= 1 && *day <= days_in_month(*year, *month);
}

// HH:MM with HH below 15.
bool is_offset(std::string_view text) {
  if (text.size() != 5 || text[2] != ':') return false;
  auto hours = read_number(text.substr(0, 2));
  auto minutes = read_number(text.substr(3, 2));
  return hours && minutes && *hours < 15 && *minutes < 60;
}

// A piece is judged by what precedes its first '.'.
bool is_time_piece(std::string_view piece, unsigned limit) {
  auto value = read_number(piece.substr(0, piece.find('.')));
  return value && *value < limit;
}

bool is_time(std::string_view text) {
  static constexpr unsigned kLimits[] = {24, 60, 60};
  for (std::size_t i = 0; i < 3; ++i) {
    std::size_t colon = text.find(':');
    if ((colon == std::string_view::npos) != (i == 2)) return false;
    if (!is_time_piece(text.substr(0, colon), kLimits[i])) return false;
    if (colon != std::string_view::npos) text.remove_prefix(colon + 1);
  }
  return true;
}

// The part after "T": a time, then "Z", "+HH:MM", "-HH:MM" or nothing.
bool is_time_and_zone(std::string_view rest) {
  if (rest.ends_with('Z')) return is_time(rest.substr(0, rest.size() - 1));
  std::size_t split = rest.rfind('+');
  if (split == std::string_view::npos) {
    std::size_t colon = rest.find(':');
    if (colon != std::string_view::npos && rest.find('-', colon + 1) != std::string_view::npos)
      split = rest.rfind('-');
  }
  if (split == std::string_view::npos) return is_time(rest);
  return is_time(rest.substr(0, split)) && is_offset(rest.substr(split + 1));
}

}  // namespace

bool is_iso8601_timestamp(std::string_view text) {
  text = trim_white_space(text);
  if (text.size() == 10) return is_date(text);
  // The shortest date-time is 19 characters; an unread fraction may hold
  // multi-byte characters, so bytes are not the measure.
  if (text.size() < 19 || text[10] != 'T' || count_code_points(text) < 19) return false;
  return is_date(text.substr(0, 10)) && is_time_and_zone(text.substr(11));
}

}  // namespace vorn::metadata::validate
