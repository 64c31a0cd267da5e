#include "parser/libyaml_parser.h"

#include <algorithm>
#include <limits>

#include <fmt/format.h>

namespace vorn::parser::yaml {

std::uint32_t one_based(std::size_t zero_based) {
  constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(std::min<std::size_t>(zero_based, kMax - 1) + 1);
}

std::string at(const yaml_mark_t& mark) {
  return fmt::format(" at line {} column {}", one_based(mark.line), one_based(mark.column));
}

LibyamlParser::LibyamlParser(std::string_view bytes) : bytes_(bytes) {
  initialized_ = yaml_parser_initialize(&parser_) != 0;
  if (initialized_) {
    // libyaml refuses a null buffer even when it is empty, and an empty
    // view may well have no buffer behind it.
    static const unsigned char kEmpty[1] = {0};
    const auto* data = bytes.data() ? reinterpret_cast<const unsigned char*>(bytes.data()) : kEmpty;
    yaml_parser_set_input_string(&parser_, data, bytes.size());
  }
}

LibyamlParser::~LibyamlParser() {
  if (initialized_) yaml_parser_delete(&parser_);
}

std::string LibyamlParser::error_text() const {
  if (parser_.error == YAML_MEMORY_ERROR) return "out of memory while parsing YAML";
  std::string text = parser_.problem ? parser_.problem : "invalid YAML";
  // Encoding errors come with a byte offset instead of a mark.
  text += parser_.error == YAML_READER_ERROR ? at(mark_of_offset(parser_.problem_offset)) : at(parser_.problem_mark);
  if (parser_.context) {
    text += ", ";
    text += parser_.context;
    text += at(parser_.context_mark);
  }
  return text;
}

yaml_mark_t LibyamlParser::mark_of_offset(std::size_t offset) const {
  yaml_mark_t mark{};
  offset = std::min(offset, bytes_.size());
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (bytes_[i] == '\n') {
      ++mark.line;
      line_start = i + 1;
    }
  }
  mark.column = offset - line_start;
  return mark;
}

}  // namespace vorn::parser::yaml
