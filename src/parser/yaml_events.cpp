#include "parser/yaml_events.h"

#include <yaml.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include <fmt/format.h>

#include "parser/yaml_scalar.h"

namespace vorn::parser::yaml {
namespace {

constexpr std::uint64_t kMinRepetitionLimit = 1'000'000;
// Text offsets and event indices are 32-bit.
constexpr std::size_t kMaxIndex = std::numeric_limits<std::uint32_t>::max();
constexpr const char kStrTag[] = "tag:yaml.org,2002:str";

std::uint32_t one_based(std::size_t zero_based) {
  return static_cast<std::uint32_t>(std::min<std::size_t>(zero_based, kMaxIndex - 1) + 1);
}

std::string at(const yaml_mark_t& mark) {
  return fmt::format(" at line {} column {}", one_based(mark.line), one_based(mark.column));
}

// Owns the libyaml parser; every exit path releases it.
class LibyamlParser {
 public:
  explicit LibyamlParser(std::string_view bytes) : bytes_(bytes) {
    initialized_ = yaml_parser_initialize(&parser_) != 0;
    if (initialized_) {
      // libyaml refuses a null buffer even when it is empty, and an empty
      // view may well have no buffer behind it.
      static const unsigned char kEmpty[1] = {0};
      const auto* data = bytes.data() ? reinterpret_cast<const unsigned char*>(bytes.data()) : kEmpty;
      yaml_parser_set_input_string(&parser_, data, bytes.size());
    }
  }
  ~LibyamlParser() {
    if (initialized_) yaml_parser_delete(&parser_);
  }
  LibyamlParser(const LibyamlParser&) = delete;
  LibyamlParser& operator=(const LibyamlParser&) = delete;

  bool initialized() const { return initialized_; }
  bool parse(yaml_event_t* event) { return yaml_parser_parse(&parser_, event) != 0; }

  std::string error_text() const {
    if (parser_.error == YAML_MEMORY_ERROR) return "out of memory while parsing YAML";
    std::string text = parser_.problem ? parser_.problem : "invalid YAML";
    // Encoding errors come with a byte offset instead of a mark.
    text += parser_.error == YAML_READER_ERROR ? at(mark_of_offset(parser_.problem_offset))
                                               : at(parser_.problem_mark);
    if (parser_.context) {
      text += ", ";
      text += parser_.context;
      text += at(parser_.context_mark);
    }
    return text;
  }

 private:
  yaml_mark_t mark_of_offset(std::size_t offset) const {
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

// Events of one anchored node, for replay at its aliases. `height` is the
// nesting the range opens by itself, so a replay is checked without a walk.
struct Anchor {
  std::uint32_t first = 0;
  std::uint32_t count = 0;
  int height = 0;
  bool open = false;
};

// A mapping or sequence whose end has not been seen yet.
struct OpenNode {
  std::uint32_t start = 0;
  int height = 1;
  Anchor* anchor = nullptr;
};

// Builds the event stream of one document's node tree from libyaml events.
class TreeBuilder {
 public:
  explicit TreeBuilder(std::size_t input_size);

  // Takes the next node event; false with error() set when it is refused.
  bool add(const yaml_event_t& event);
  // The root node has been completed.
  bool complete() const { return complete_; }
  const std::string& error() const { return error_; }
  EventStream take() { return std::move(out_); }

 private:
  bool add_scalar(const yaml_event_t& event);
  bool open(const yaml_event_t& event, EventKind kind, const yaml_char_t* anchor);
  bool close(const yaml_event_t& event, EventKind kind);
  bool replay(const yaml_event_t& event);

  std::uint32_t push(EventKind kind, const yaml_event_t& source);
  Anchor& define(const yaml_char_t* name, std::uint32_t first);
  void finish_node(int height);
  bool fail(std::string message);

  EventStream out_;
  std::vector<OpenNode> open_;
  std::unordered_map<std::string, Anchor> anchors_;
  std::uint64_t direct_events_ = 0;
  std::uint64_t replayed_events_ = 0;
  bool complete_ = false;
  std::string error_;
};

TreeBuilder::TreeBuilder(std::size_t input_size) {
  out_.format = DocumentFormat::Yaml;
  // Typical documents yield an event per 6 to 20 bytes. Reserving for the
  // dense end avoids the peak of a reallocation (old and new arrays at
  // once); pages never written are never made resident, and the cap keeps
  // huge inputs of mostly whitespace from reserving address space for nothing.
  constexpr std::size_t kMaxReservedEvents = std::size_t{1} << 20;
  out_.events.reserve(std::min(input_size / 5, 4 * kMaxReservedEvents) + 8);
  // Scalar texts take up to the whole input (only a few escapes grow), often
  // more than half of it: a smaller reservation would be copied once more.
  out_.text.reserve(std::min(input_size, kMaxReservedEvents * 16));
  open_.reserve(kMaxNesting);
}

bool TreeBuilder::add(const yaml_event_t& event) {
  if (out_.events.size() >= kMaxIndex) return fail("document too large");
  bool ok = false;
  switch (event.type) {
    case YAML_SCALAR_EVENT: ok = add_scalar(event); break;
    case YAML_ALIAS_EVENT: ok = replay(event); break;
    case YAML_MAPPING_START_EVENT:
      ok = open(event, EventKind::MapStart, event.data.mapping_start.anchor);
      break;
    case YAML_SEQUENCE_START_EVENT:
      ok = open(event, EventKind::SeqStart, event.data.sequence_start.anchor);
      break;
    case YAML_MAPPING_END_EVENT: ok = close(event, EventKind::MapEnd); break;
    case YAML_SEQUENCE_END_EVENT: ok = close(event, EventKind::SeqEnd); break;
    default: return fail("unexpected YAML event" + at(event.start_mark));
  }
  complete_ = ok && open_.empty();
  return ok;
}

std::uint32_t TreeBuilder::push(EventKind kind, const yaml_event_t& source) {
  Event& e = out_.events.emplace_back();
  e.kind = kind;
  e.line = one_based(source.start_mark.line);
  e.column = one_based(source.start_mark.column);
  ++direct_events_;
  return static_cast<std::uint32_t>(out_.events.size() - 1);
}

bool TreeBuilder::add_scalar(const yaml_event_t& event) {
  const auto& scalar = event.data.scalar;
  if (out_.text.size() + scalar.length > kMaxIndex) return fail("document too large");
  std::uint32_t index = push(EventKind::Scalar, event);
  Event& e = out_.events[index];
  e.text_offset = static_cast<std::uint32_t>(out_.text.size());
  e.text_length = static_cast<std::uint32_t>(scalar.length);
  std::string_view text(reinterpret_cast<const char*>(scalar.value), scalar.length);
  out_.text.append(text);
  e.plain = scalar.style == YAML_PLAIN_SCALAR_STYLE;
  bool str_tag = scalar.tag && std::string_view(reinterpret_cast<const char*>(scalar.tag)) == kStrTag;
  if (e.plain && !str_tag) {
    type_plain_scalar(text, e);
  } else {
    e.type = ScalarType::String;
  }
  if (scalar.anchor) define(scalar.anchor, index).count = 1;
  finish_node(0);
  return true;
}

bool TreeBuilder::open(const yaml_event_t& event, EventKind kind, const yaml_char_t* anchor) {
  if (open_.size() >= static_cast<std::size_t>(kMaxNesting)) {
    return fail("recursion limit exceeded" + at(event.start_mark));
  }
  std::uint32_t index = push(kind, event);
  OpenNode node;
  node.start = index;
  if (anchor) {
    node.anchor = &define(anchor, index);
    node.anchor->open = true;
  }
  open_.push_back(node);
  return true;
}

bool TreeBuilder::close(const yaml_event_t& event, EventKind kind) {
  if (open_.empty()) return fail("unexpected YAML event" + at(event.start_mark));
  OpenNode node = open_.back();
  open_.pop_back();
  std::uint32_t index = push(kind, event);
  out_.events[node.start].end = index;
  // A node inside may have taken the same anchor name since; the later
  // definition wins.
  if (node.anchor && node.anchor->open && node.anchor->first == node.start) {
    node.anchor->count = index + 1 - node.start;
    node.anchor->height = node.height;
    node.anchor->open = false;
  }
  finish_node(node.height);
  return true;
}

bool TreeBuilder::replay(const yaml_event_t& event) {
  std::string name(reinterpret_cast<const char*>(event.data.alias.anchor));
  auto found = anchors_.find(name);
  if (found == anchors_.end()) return fail("unknown anchor" + at(event.start_mark));
  const Anchor& anchor = found->second;
  // An alias inside its own anchored node would expand without end.
  if (anchor.open || open_.size() + anchor.height > static_cast<std::size_t>(kMaxNesting)) {
    return fail("recursion limit exceeded" + at(event.start_mark));
  }
  replayed_events_ += anchor.count;
  if (replayed_events_ > std::max(kMinRepetitionLimit, direct_events_)) {
    return fail("repetition limit exceeded" + at(event.start_mark));
  }
  std::vector<Event>& events = out_.events;
  std::size_t base = events.size();
  if (base + anchor.count > kMaxIndex) return fail("document too large");
  // Reserving first keeps the source range valid while it is copied.
  if (events.capacity() < base + anchor.count) {
    events.reserve(std::max(base + anchor.count, events.capacity() * 2));
  }
  for (std::uint32_t i = 0; i < anchor.count; ++i) {
    Event copy = events[anchor.first + i];
    if (copy.kind == EventKind::MapStart || copy.kind == EventKind::SeqStart) {
      copy.end = static_cast<std::uint32_t>(copy.end - anchor.first + base);
    }
    events.push_back(copy);
  }
  finish_node(anchor.height);
  return true;
}

Anchor& TreeBuilder::define(const yaml_char_t* name, std::uint32_t first) {
  Anchor& anchor = anchors_[reinterpret_cast<const char*>(name)];
  anchor = Anchor{};
  anchor.first = first;
  return anchor;
}

// A node of the given height is complete; its parent is at least one taller.
void TreeBuilder::finish_node(int height) {
  if (!open_.empty()) open_.back().height = std::max(open_.back().height, height + 1);
}

bool TreeBuilder::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

Error syntax_error(const LibyamlParser& parser) { return Error{parser.error_text()}; }

Result<EventStream> read_document(std::string_view bytes) {
  LibyamlParser parser(bytes);
  if (!parser.initialized()) return Error{"out of memory while parsing YAML"};
  CurrentEvent event;
  if (!event.next(parser)) return syntax_error(parser);  // STREAM-START
  if (!event.next(parser)) return syntax_error(parser);
  if (event.type() != YAML_DOCUMENT_START_EVENT) return Error{"EOF while parsing a value"};

  TreeBuilder tree(bytes.size());
  while (!tree.complete()) {
    if (!event.next(parser)) return syntax_error(parser);
    if (!tree.add(event.get())) return Error{tree.error()};
  }
  if (!event.next(parser)) return syntax_error(parser);  // DOCUMENT-END
  if (!event.next(parser)) return syntax_error(parser);
  if (event.type() == YAML_DOCUMENT_START_EVENT) {
    return Error{"deserializing from YAML containing more than one document is not supported" +
                 at(event.get().start_mark)};
  }
  return tree.take();
}

}  // namespace

Result<EventStream> read_events(std::string_view bytes) {
  if (bytes.size() >= kMaxIndex) return Error{"document too large"};
  try {
    return read_document(bytes);
  } catch (const std::bad_alloc&) {
    return Error{"out of memory while parsing YAML"};
  }
}

}  // namespace vorn::parser::yaml
