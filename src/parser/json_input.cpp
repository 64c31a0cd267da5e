#include "parser/json_input.h"

#include <algorithm>

#include <fmt/format.h>

#include "support/unicode.h"

namespace vorn::parser::json {
namespace {

// The lexer echoes everything it read for the failing token, which for a long
// string or a long run of whitespace is the whole run. The end is where the
// problem is, so keep that.
constexpr std::size_t kMaxEchoedToken = 40;

std::string_view after_first(std::string_view text, std::string_view lead_tag,
                             std::string_view separator) {
  if (text.substr(0, lead_tag.size()) != lead_tag) return text;
  std::size_t at = text.find(separator);
  return at == std::string_view::npos ? text : text.substr(at + separator.size());
}

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

void append_as_utf8(std::string& out, std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = utf8_sequence_length(s, i);
    if (n == 0) {
      out += fmt::format("\\x{:02X}", static_cast<unsigned char>(s[i]));
      n = 1;
    } else {
      out.append(s.substr(i, n));
    }
    i += n;
  }
}

std::string_view tail_of(std::string_view token) {
  std::string_view tail = token.substr(token.size() - kMaxEchoedToken);
  for (int k = 0; k < 3 && !tail.empty() && is_continuation(static_cast<unsigned char>(tail[0])); ++k) {
    tail.remove_prefix(1);
  }
  return tail;
}

}  // namespace

std::string parse_error_text(std::string_view what, std::string_view last_token, std::size_t hidden) {
  std::string_view text = after_first(what, "[json.exception.", "] ");
  text = after_first(text, "parse error", ": ");

  constexpr std::string_view kEcho = "last read: '";
  std::size_t echo = text.find(kEcho);
  std::size_t token_at = echo + kEcho.size();
  std::string out;
  if (echo == std::string_view::npos || text.substr(token_at, last_token.size()) != last_token) {
    append_as_utf8(out, text);
    return out;
  }
  std::string_view shown = last_token.substr(std::min(hidden, last_token.size()));
  append_as_utf8(out, text.substr(0, token_at));
  if (shown.size() > kMaxEchoedToken) {
    out += "...";
    shown = tail_of(shown);
  }
  append_as_utf8(out, shown);
  append_as_utf8(out, text.substr(token_at + last_token.size()));
  return out;
}

}  // namespace vorn::parser::json
