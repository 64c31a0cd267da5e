#pragma once
// Compact JSON writer. Records write their keys in their own declared order,
// which nlohmann::json (sorted keys) cannot do, so results are streamed here.

#include <cstdint>
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

  const std::string& str() const { return out_; }
  std::string take() { return std::move(out_); }

 private:
  bool put_short(std::string_view s, bool is_key);
  void separate() {
    if (need_comma_) out_.push_back(',');
  }
  void open(char c) {
    separate();
    out_.push_back(c);
    need_comma_ = false;
  }
  void close(char c) {
    out_.push_back(c);
    need_comma_ = true;
  }

  std::string out_;
  bool need_comma_ = false;
};

// Appends s as a quoted JSON string: quotes, backslashes and control
// characters escaped, everything else (UTF-8 included) as it is.
void append_json_string(std::string& out, std::string_view s);

}  // namespace vorn
