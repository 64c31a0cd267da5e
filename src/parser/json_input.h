#pragma once
// Input plumbing for the JSON front end. nlohmann's SAX callbacks carry no
// positions, so the parser reads through an iterator that publishes how far
// it has got, and line numbers are counted lazily only when an event or an
// error needs them.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "parser/event.h"

namespace vorn::parser::json {

// One past the last byte the parser has taken from the input.
struct ReadCursor {
  const char* pos = nullptr;
};

// A forward iterator over bytes that keeps a ReadCursor up to date. The
// splicing kind can put a short synthetic prefix in front of the real input:
// once `p` reaches `splice_from` it jumps to `splice_to`. That is how a parse
// resumes in the middle of a document (see json_events.cpp); every other
// parse uses the plain kind, which costs one store per byte.
template <bool kSplices>
class CountingIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator() = default;
  CountingIterator(const char* p, ReadCursor* cursor, const char* splice_from = nullptr,
                   const char* splice_to = nullptr)
      : p_(p), splice_from_(splice_from), splice_to_(splice_to), cursor_(cursor) {}

  reference operator*() const { return *p_; }

  CountingIterator& operator++() {
    ++p_;
    if constexpr (kSplices) {
      if (p_ == splice_from_) p_ = splice_to_;
    }
    cursor_->pos = p_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }

  friend bool operator==(const CountingIterator& a, const CountingIterator& b) { return a.p_ == b.p_; }

 private:
  const char* p_ = nullptr;
  const char* splice_from_ = nullptr;
  const char* splice_to_ = nullptr;
  ReadCursor* cursor_ = nullptr;
};

// Maps byte addresses of one text to 1-based line and byte column. Queries
// in increasing order cost one pass over the text in total; an earlier
// address restarts the count.
class LineLocator {
 public:
  explicit LineLocator(std::string_view text)
      : begin_(text.data()), scanned_(text.data()), line_start_(text.data()) {}

  // Position of the byte at `p`; `p` may be the end of the text.
  TextPosition locate(const char* p) {
    if (p < scanned_) {
      scanned_ = line_start_ = begin_;
      line_ = 1;
    }
    while (scanned_ < p) {
      const void* newline = std::memchr(scanned_, '\n', static_cast<std::size_t>(p - scanned_));
      if (newline == nullptr) {
        scanned_ = p;
        break;
      }
      ++line_;
      scanned_ = line_start_ = static_cast<const char*>(newline) + 1;
    }
    return {line_, static_cast<std::uint32_t>(p - line_start_ + 1)};
  }

 private:
  const char* begin_;
  const char* scanned_;
  const char* line_start_;
  std::uint32_t line_ = 1;
};

// nlohmann's exception text turned into ours: its "[json.exception...] " tag
// and "parse error at line L, column C: " lead removed, the echoed token
// (`last_token`) shown without its first `hidden` bytes and cut to its tail
// when long, and any bytes that are not UTF-8 written as \xHH. The caller
// appends the position.
std::string parse_error_text(std::string_view what, std::string_view last_token, std::size_t hidden);

}  // namespace vorn::parser::json
