#include "support/json_writer.h"

#include <charconv>

namespace vorn {

void append_json_string(std::string& out, std::string_view s) {
  static const char kHex[] = "0123456789abcdef";
  out.push_back('"');
  std::size_t run = 0;  // start of the pending run that needs no escaping
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(s.data() + run, i - run);
    run = i + 1;
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default:
        out.append("\\u00");
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
  }
  out.append(s.data() + run, s.size() - run);
  out.push_back('"');
}

void JsonWriter::key(std::string_view k) {
  separate();
  append_json_string(out_, k);
  out_.push_back(':');
  need_comma_ = false;
}

void JsonWriter::string(std::string_view s) {
  separate();
  append_json_string(out_, s);
  need_comma_ = true;
}

void JsonWriter::boolean(bool b) { raw(b ? "true" : "false"); }

void JsonWriter::null() { raw("null"); }

void JsonWriter::integer(std::int64_t i) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, i);
  raw(std::string_view(buf, r.ptr - buf));
}

void JsonWriter::unsigned_integer(std::uint64_t u) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, u);
  raw(std::string_view(buf, r.ptr - buf));
}

void JsonWriter::json(const nlohmann::json& value) {
  // The replace handler keeps dump() from throwing on text that is not
  // UTF-8; our readers never produce such text, but writing must not fail.
  raw(value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void JsonWriter::raw(std::string_view json_text) {
  separate();
  out_.append(json_text);
  need_comma_ = true;
}

}  // namespace vorn
