#pragma once
// Comparisons and searches over short byte runs, eight bytes at a time. The
// texts of a document are mostly a few bytes long, where a library call
// costs more than the work.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vorn::bytes {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

inline std::uint64_t load_word(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Whether any byte of `w` equals `c`.
inline bool word_has(std::uint64_t w, char c) {
  std::uint64_t x = w ^ (kOnes * static_cast<unsigned char>(c));
  return ((x - kOnes) & ~x & kHighs) != 0;
}

// Whole words where they fit; the last word, or two half words, may
// overlap bytes already compared, which misses none.
inline bool same(const char* a, const char* b, std::size_t n) {
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8)
      if (load_word(a + i) != load_word(b + i)) return false;
    return load_word(a + n - 8) == load_word(b + n - 8);
  }
  if (n >= 4) {
    std::uint32_t x[2], y[2];
    std::memcpy(&x[0], a, 4);
    std::memcpy(&x[1], a + n - 4, 4);
    std::memcpy(&y[0], b, 4);
    std::memcpy(&y[1], b + n - 4, 4);
    return x[0] == y[0] && x[1] == y[1];
  }
  return n == 0 || (a[0] == b[0] && a[n / 2] == b[n / 2] && a[n - 1] == b[n - 1]);
}

// memcpy, without a call for up to 16 bytes (stores may overlap).
inline void copy(char* to, const char* from, std::size_t n) {
  if (n > 16) {
    std::memcpy(to, from, n);
  } else if (n >= 8) {
    std::uint64_t head = load_word(from), tail = load_word(from + n - 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + n - 8, &tail, 8);
  } else if (n >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + n - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + n - 4, &tail, 4);
  } else if (n > 0) {
    to[0] = from[0];
    to[n / 2] = from[n / 2];
    to[n - 1] = from[n - 1];
  }
}

// `a` and `b` hold the same `n` bytes, none of them `c`.
inline bool same_without(const char* a, const char* b, std::size_t n, char c) {
  for (; n >= 8; n -= 8, a += 8, b += 8) {
    std::uint64_t w = load_word(a);
    if (w != load_word(b) || word_has(w, c)) return false;
  }
  for (; n > 0; --n, ++a, ++b)
    if (*a != *b || *a == c) return false;
  return true;
}

}  // namespace vorn::bytes
