#pragma once
// A growable array stored in fixed-size chunks: appending never moves what is
// already stored, so a large array is never held twice (old and new buffer)
// and never reserved far beyond its size. The first chunk starts small and
// grows, so that short arrays stay short.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace vorn {

template <class T, std::size_t kChunkBits = 12>
class ChunkedVector {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;

  ChunkedVector() = default;
  ChunkedVector(ChunkedVector&&) noexcept = default;
  ChunkedVector& operator=(ChunkedVector&&) noexcept = default;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  T& operator[](std::size_t i) { return chunks_[i >> kChunkBits].get()[i & kMask]; }
  const T& operator[](std::size_t i) const { return chunks_[i >> kChunkBits].get()[i & kMask]; }
  T& back() { return (*this)[size_ - 1]; }

  // The index of the element at `p`, or size() when `p` is not one of ours.
  std::size_t index_of(const T* p) const {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
      const auto first = reinterpret_cast<std::uintptr_t>(chunks_[c].get());
      std::size_t capacity = c == 0 ? first_capacity_ : kChunkSize;
      if (at >= first && at < first + capacity * sizeof(T)) {
        std::size_t i = c * kChunkSize + (at - first) / sizeof(T);
        return i < size_ ? i : size_;
      }
    }
    return size_;
  }

  // Sizes the first chunk for about `n` elements, up to one chunk.
  void reserve_first(std::size_t n) {
    if (chunks_.empty()) grow_first(std::min(std::max<std::size_t>(n, 16), kChunkSize));
  }

  // Appends an element made from `args`, in place.
  template <class... Args>
  T& emplace_back(Args&&... args) {
    if ((size_ & kMask) == 0 || size_ == first_capacity_) make_room();
    T* slot = &(*this)[size_++];
    return *::new (static_cast<void*>(slot)) T(std::forward<Args>(args)...);
  }
  void push_back(const T& value) { emplace_back(value); }

 private:
  static constexpr std::size_t kMask = kChunkSize - 1;

  struct Release {
    void operator()(T* p) const { ::operator delete(static_cast<void*>(p)); }
  };
  using Chunk = std::unique_ptr<T, Release>;

  static Chunk allocate(std::size_t n) { return Chunk(static_cast<T*>(::operator new(n * sizeof(T)))); }

  void make_room() {
    if (size_ < kChunkSize) {
      if (size_ == first_capacity_) grow_first(first_capacity_ == 0 ? 64 : first_capacity_ * 2);
      return;
    }
    // Past the first chunk every chunk is full-sized; a new one is needed
    // exactly when the last is full.
    chunks_.push_back(allocate(kChunkSize));
  }

  void grow_first(std::size_t capacity) {
    capacity = std::min(capacity, kChunkSize);
    Chunk bigger = allocate(capacity);
    if (!chunks_.empty()) std::copy(chunks_[0].get(), chunks_[0].get() + size_, bigger.get());
    if (chunks_.empty())
      chunks_.push_back(std::move(bigger));
    else
      chunks_[0] = std::move(bigger);
    first_capacity_ = capacity;
  }

  std::vector<Chunk> chunks_;
  std::size_t size_ = 0;
  std::size_t first_capacity_ = 0;  // capacity of chunk 0 while it is still growing
};

}  // namespace vorn
