#pragma once
// A value or an error text: how the core hands problems back to its callers
// without exceptions.

#include <string>
#include <utility>
#include <variant>

namespace vorn {

struct Error {
  std::string message;
};

template <class T>
class Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }

  const std::string& error() const { return std::get<1>(v_).message; }
  std::string take_error() && { return std::move(std::get<1>(v_).message); }

 private:
  std::variant<T, Error> v_;
};

}  // namespace vorn
