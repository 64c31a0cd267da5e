#pragma once
// An optional value kept out of line: a record whose large optional block is
// absent costs one pointer instead of the block's full size. It is a value
// with the interface of std::optional (copies are deep, == compares the
// values), so records holding one are used exactly as before.

#include <memory>
#include <optional>
#include <utility>

namespace vorn {

template <class T>
class OptionalBox {
 public:
  using value_type = T;

  OptionalBox() noexcept = default;
  OptionalBox(std::nullopt_t) noexcept {}
  OptionalBox(const T& value) : p_(std::make_unique<T>(value)) {}
  OptionalBox(T&& value) : p_(std::make_unique<T>(std::move(value))) {}
  OptionalBox(const std::optional<T>& value) : p_(value ? std::make_unique<T>(*value) : nullptr) {}
  OptionalBox(const OptionalBox& other) : p_(other.p_ ? std::make_unique<T>(*other.p_) : nullptr) {}
  OptionalBox(OptionalBox&&) noexcept = default;
  ~OptionalBox() = default;

  OptionalBox& operator=(const OptionalBox& other) {
    if (this != &other) {
      if (other.p_)
        *this = *other.p_;
      else
        p_.reset();
    }
    return *this;
  }
  OptionalBox& operator=(OptionalBox&&) noexcept = default;
  OptionalBox& operator=(std::nullopt_t) noexcept {
    p_.reset();
    return *this;
  }
  OptionalBox& operator=(const T& value) {
    if (p_)
      *p_ = value;
    else
      p_ = std::make_unique<T>(value);
    return *this;
  }
  OptionalBox& operator=(T&& value) {
    if (p_)
      *p_ = std::move(value);
    else
      p_ = std::make_unique<T>(std::move(value));
    return *this;
  }

  bool has_value() const noexcept { return p_ != nullptr; }
  explicit operator bool() const noexcept { return has_value(); }

  T& operator*() & { return *p_; }
  const T& operator*() const& { return *p_; }
  T* operator->() { return p_.get(); }
  const T* operator->() const { return p_.get(); }

  T& value() & { return p_ ? *p_ : throw std::bad_optional_access(); }
  const T& value() const& { return p_ ? *p_ : throw std::bad_optional_access(); }
  template <class U>
  T value_or(U&& fallback) const {
    return p_ ? *p_ : static_cast<T>(std::forward<U>(fallback));
  }

  template <class... Args>
  T& emplace(Args&&... args) {
    p_ = std::make_unique<T>(std::forward<Args>(args)...);
    return *p_;
  }
  void reset() noexcept { p_.reset(); }
  void swap(OptionalBox& other) noexcept { p_.swap(other.p_); }

  // For code written against std::optional<T>: a copy of the value.
  operator std::optional<T>() const { return p_ ? std::optional<T>(*p_) : std::nullopt; }

  friend bool operator==(const OptionalBox& a, const OptionalBox& b) {
    return a.has_value() == b.has_value() && (!a.has_value() || *a == *b);
  }
  friend bool operator==(const OptionalBox& a, std::nullopt_t) { return !a.has_value(); }
  friend bool operator==(const OptionalBox& a, const T& b) { return a.has_value() && *a == b; }

 private:
  std::unique_ptr<T> p_;
};

}  // namespace vorn
