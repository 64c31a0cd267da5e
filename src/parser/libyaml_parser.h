#pragma once
// libyaml's parser and its current event, each released on every exit path,
// and the texts of its errors.

#include <yaml.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::parser::yaml {

// " at line {} column {}" for a libyaml mark (0-based line and column).
std::string at(const yaml_mark_t& mark);

// 1-based, saturating at the 32-bit range.
std::uint32_t one_based(std::size_t zero_based);

class LibyamlParser {
 public:
  explicit LibyamlParser(std::string_view bytes);
  ~LibyamlParser();
  LibyamlParser(const LibyamlParser&) = delete;
  LibyamlParser& operator=(const LibyamlParser&) = delete;

  bool initialized() const { return initialized_; }
  bool parse(yaml_event_t* event) { return yaml_parser_parse(&parser_, event) != 0; }
  // The problem, its position and its context, as one text.
  std::string error_text() const;

 private:
  yaml_mark_t mark_of_offset(std::size_t offset) const;

  std::string_view bytes_;
  yaml_parser_t parser_;
  bool initialized_ = false;
};

// The current libyaml event; the previous one is released before the next
// parse and the last one on scope exit.
class CurrentEvent {
 public:
  CurrentEvent() = default;
  ~CurrentEvent() { yaml_event_delete(&event_); }
  CurrentEvent(const CurrentEvent&) = delete;
  CurrentEvent& operator=(const CurrentEvent&) = delete;

  bool next(LibyamlParser& parser) {
    yaml_event_delete(&event_);
    return parser.parse(&event_);
  }
  const yaml_event_t& get() const { return event_; }
  yaml_event_type_t type() const { return event_.type; }

 private:
  yaml_event_t event_{};
};

}  // namespace vorn::parser::yaml
