#pragma once
// Compact JSON writer. Records write their keys in their own declared order,
// which nlohmann::json (sorted keys) cannot do, so results are streamed here.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace vorn {

class JsonWriter {
 public:
  void begin_object() { open('{'); }
  void end_object() { close('}'); }
  void begin_array() { open('['); }
  void end_array() { close(']'); }

  // Writes the key of the next member; the value must follow.
  void key(std::string_view k);

  void string(std::string_view s);
  void boolean(bool b);
  void null();
  void integer(std::int64_t i);
  void unsigned_integer(std::uint64_t u);
  // Writes a JSON value as it is; non-finite numbers become null.
  void json(const nlohmann::json& value);
  // Writes text that is already one valid compact JSON value.
  void raw(std::string_view json_text);

  const std::string& str() const {
    out_.resize(used_);
    return out_;
  }
  std::string take() {
    out_.resize(used_);
    used_ = 0;
    return std::move(out_);
  }

 private:
  // Room for `n` more bytes, returned as where they go. The buffer is kept
  // larger than the text, so that most writes are one copy.
  char* extend(std::size_t n) {
    if (out_.size() - used_ < n) grow(n);
    char* at = out_.data() + used_;
    used_ += n;
    return at;
  }
  void grow(std::size_t n);
  void put(char c) { *extend(1) = c; }
  void put(std::string_view s) {
    if (!s.empty()) std::memcpy(extend(s.size()), s.data(), s.size());
  }
  void put_string(std::string_view s);
  void separate() {
    if (need_comma_) put(',');
  }
  void open(char c) {
    separate();
    put(c);
    need_comma_ = false;
  }
  void close(char c) {
    put(c);
    need_comma_ = true;
  }

  // Its size is the buffer's; the text is its first used_ bytes.
  mutable std::string out_;
  std::size_t used_ = 0;
  bool need_comma_ = false;
};

// Appends s as a quoted JSON string: quotes, backslashes and control
// characters escaped, everything else (UTF-8 included) as it is.
void append_json_string(std::string& out, std::string_view s);

}  // namespace vorn
