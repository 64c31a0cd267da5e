#include "support/unicode.h"

#include <unicode/uchar.h>
#include <unicode/ucasemap.h>
#include <unicode/utf8.h>

#include <memory>

namespace vorn {
namespace {

// Decodes the code point at i (advancing i); ill-formed input yields a
// negative value, which no property test accepts.
UChar32 next_code_point(std::string_view text, std::size_t& i) {
  UChar32 c;
  int32_t pos = static_cast<int32_t>(i);
  U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), pos, static_cast<int32_t>(text.size()), c);
  i = static_cast<std::size_t>(pos);
  return c;
}

// Start of the code point that ends at `end` (exclusive).
std::size_t previous_start(std::string_view text, std::size_t end) {
  int32_t pos = static_cast<int32_t>(end);
  UChar32 c;
  U8_PREV(reinterpret_cast<const uint8_t*>(text.data()), 0, pos, c);
  (void)c;
  return static_cast<std::size_t>(pos);
}

bool is_space(UChar32 c) { return c >= 0 && u_hasBinaryProperty(c, UCHAR_WHITE_SPACE); }

using CaseMapPtr = std::unique_ptr<UCaseMap, decltype(&ucasemap_close)>;

std::string map_case(std::string_view text, bool upper) {
  UErrorCode status = U_ZERO_ERROR;
  CaseMapPtr map(ucasemap_open("", 0, &status), &ucasemap_close);
  if (U_FAILURE(status)) return std::string(text);
  auto convert = upper ? ucasemap_utf8ToUpper : ucasemap_utf8ToLower;
  std::string out(text.size() + 16, '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    status = U_ZERO_ERROR;
    int32_t n = convert(map.get(), out.data(), static_cast<int32_t>(out.size()), text.data(),
                        static_cast<int32_t>(text.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.assign(static_cast<std::size_t>(n) + 1, '\0');
      continue;
    }
    if (U_FAILURE(status)) return std::string(text);
    out.resize(static_cast<std::size_t>(n));
    return out;
  }
  return std::string(text);
}

}  // namespace

std::string_view trim_white_space(std::string_view text) {
  // ICU's UTF-8 macros index with int32_t.
  if (text.size() > INT32_MAX) return text;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t next = begin;
    if (!is_space(next_code_point(text, next))) break;
    begin = next;
  }
  std::size_t end = text.size();
  while (end > begin) {
    std::size_t start = previous_start(text, end);
    std::size_t probe = start;
    if (!is_space(next_code_point(text, probe)) || probe != end) break;
    end = start;
  }
  return text.substr(begin, end - begin);
}

bool contains_white_space(std::string_view text) {
  if (text.size() > INT32_MAX) return false;
  for (std::size_t i = 0; i < text.size();) {
    if (is_space(next_code_point(text, i))) return true;
  }
  return false;
}

std::string to_upper(std::string_view text) { return map_case(text, true); }

std::string to_lower(std::string_view text) { return map_case(text, false); }

std::size_t count_code_points(std::string_view text) {
  if (text.size() > INT32_MAX) return text.size();
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) next_code_point(text, i);
  return n;
}

std::size_t utf8_sequence_length(std::string_view s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;   // overlong
    if (c == 0xED) high = 0x9F;  // surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;   // overlong
    if (c == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() - i < n) return 0;
  const auto second = static_cast<unsigned char>(s[i + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

}  // namespace vorn
