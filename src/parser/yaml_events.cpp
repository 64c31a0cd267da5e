#include "parser/yaml_events.h"

#include <yaml.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <tsl/ordered_map.h>

#include "parser/libyaml_parser.h"
#include "parser/yaml_scalar.h"
#include "support/byte_scan.h"

namespace vorn::parser::yaml {
namespace {

constexpr std::uint64_t kMinRepetitionLimit = 1'000'000;
// Text offsets and event indices are 32-bit.
constexpr std::size_t kMaxIndex = std::numeric_limits<std::uint32_t>::max();
constexpr std::string_view kStrTag = "tag:yaml.org,2002:str";
// The non-specific tag: the scalar is text, whatever it looks like.
constexpr std::string_view kNonSpecificTag = "!";

// Tags that make a plain scalar text whatever it looks like: the string tag
// and the non-specific tag.
[[gnu::noinline]] bool is_text_tag(const yaml_char_t* tag) {
  std::string_view name(reinterpret_cast<const char*>(tag));
  return name == kStrTag || name == kNonSpecificTag;
}

bool is_ascii(std::string_view bytes) {
  unsigned char any = 0;
  for (char c : bytes) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

// libyaml places events by character; scalar texts are found in the bytes
// by byte offset. Lookups come in increasing order, so one pass over the
// bytes serves them all; in a document of ASCII the two are the same.
class ByteOffsets {
 public:
  explicit ByteOffsets(std::string_view bytes) : bytes_(bytes), ascii_(is_ascii(bytes)) { restart(); }

  std::size_t of(std::size_t char_index) {
    if (ascii_) return char_index;
    if (char_index < char_index_) restart();
    while (char_index_ < char_index && byte_ < bytes_.size()) {
      byte_ += sequence_length(static_cast<unsigned char>(bytes_[byte_]));
      ++char_index_;
    }
    return std::min(byte_, bytes_.size());
  }

 private:
  static std::size_t sequence_length(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  }
  void restart() {
    char_index_ = 0;
    // libyaml does not count a byte order mark.
    byte_ = bytes_.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  }

  std::string_view bytes_;
  bool ascii_;
  std::size_t char_index_ = 0;
  std::size_t byte_ = 0;
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
  std::uint32_t values = 0;
  int height = 1;
  Anchor* anchor = nullptr;
};

// Builds the event stream of one document's node tree from libyaml events.
// Events keep no positions; when an error text needs one, the document is
// built again with `positions` recording where each event starts.
class TreeBuilder {
 public:
  TreeBuilder(std::string_view bytes, std::vector<TextPosition>* positions);

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

  // Events are made in place, whole: the array is written once, never read
  // back while it is built.
  template <class... Args>
  std::uint32_t push(const yaml_event_t& source, Args... args);
  [[gnu::noinline]] void record_position(const yaml_event_t& source);
  bool place_text(const yaml_event_t& event, std::string_view text, std::uint32_t& offset, bool& made);
  [[gnu::noinline]] bool make_number_text(std::string_view text, const Number& value, std::uint32_t& offset);
  Anchor& define(const yaml_char_t* name, std::uint32_t first);
  void finish_node(int height);
  bool fail(std::string message);

  EventStream out_;
  std::vector<TextPosition>* positions_;
  ByteOffsets offsets_;
  std::vector<OpenNode> open_;
  // Stable addresses: open nodes point at their anchors. Made at the first
  // anchor, as most documents have none.
  std::unique_ptr<tsl::ordered_map<std::string, Anchor>> anchors_;
  std::uint64_t direct_events_ = 0;
  std::uint64_t replayed_events_ = 0;
  bool complete_ = false;
  std::string error_;
};

TreeBuilder::TreeBuilder(std::string_view bytes, std::vector<TextPosition>* positions)
    : positions_(positions), offsets_(bytes) {
  out_.format = DocumentFormat::Yaml;
  out_.source = bytes;
  // Typical documents yield an event per 6 to 20 bytes.
  out_.events.reserve_first(bytes.size() / 6);
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

template <class... Args>
inline std::uint32_t TreeBuilder::push(const yaml_event_t& source, Args... args) {
  out_.events.emplace_back(args...);
  if (positions_) [[unlikely]] record_position(source);
  ++direct_events_;
  return static_cast<std::uint32_t>(out_.events.size() - 1);
}

void TreeBuilder::record_position(const yaml_event_t& source) {
  positions_->push_back({one_based(source.start_mark.line), one_based(source.start_mark.column)});
}

// Where the event's text is: in the document where it holds the text as it
// is (a plain or quoted scalar on one line, without escapes), else a copy.
// libyaml's end mark is just past the text, or past its closing quote.
bool TreeBuilder::place_text(const yaml_event_t& event, std::string_view text, std::uint32_t& offset,
                             bool& made) {
  const yaml_scalar_style_t style = event.data.scalar.style;
  const bool quoted = style == YAML_SINGLE_QUOTED_SCALAR_STYLE || style == YAML_DOUBLE_QUOTED_SCALAR_STYLE;
  if (style == YAML_PLAIN_SCALAR_STYLE || quoted) {
    std::size_t end = offsets_.of(event.end_mark.index) - (quoted ? 1 : 0);
    if (end >= text.size() && end <= out_.source.size() &&
        bytes::same(out_.source.data() + end - text.size(), text.data(), text.size())) {
      offset = static_cast<std::uint32_t>(end - text.size());
      return true;
    }
  }
  if (out_.made_text.size() + text.size() > kMaxIndex) return fail("document too large");
  made = true;
  offset = out_.make_text(text);
  return true;
}

// A number keeps its value beside its text, which it always makes.
bool TreeBuilder::make_number_text(std::string_view text, const Number& value, std::uint32_t& offset) {
  if (out_.made_text.size() + text.size() + sizeof(Number) > kMaxIndex) return fail("document too large");
  offset = out_.make_text(text, &value);
  return true;
}

bool TreeBuilder::add_scalar(const yaml_event_t& event) {
  const auto& scalar = event.data.scalar;
  std::string_view text(reinterpret_cast<const char*>(scalar.value), scalar.length);
  const bool plain = scalar.style == YAML_PLAIN_SCALAR_STYLE;
  PlainScalar typed;
  if (plain && !(scalar.tag && is_text_tag(scalar.tag))) typed = type_plain_scalar(text);
  std::uint32_t offset = 0;
  bool made = false;
  if (typed.type == ScalarType::Int || typed.type == ScalarType::UInt || typed.type == ScalarType::Float) {
    if (!make_number_text(text, typed.number, offset)) return false;
    made = true;
  } else if (!place_text(event, text, offset, made)) {
    return false;
  }
  std::uint32_t index = push(event, EventKind::Scalar, typed.type, offset, static_cast<std::uint32_t>(text.size()),
                             plain, typed.empty, typed.boolean, made);
  if (scalar.anchor) [[unlikely]] define(scalar.anchor, index).count = 1;
  finish_node(0);
  return true;
}

bool TreeBuilder::open(const yaml_event_t& event, EventKind kind, const yaml_char_t* anchor) {
  if (open_.size() >= static_cast<std::size_t>(kMaxNesting)) {
    return fail("recursion limit exceeded" + at(event.start_mark));
  }
  std::uint32_t index = push(event, kind, ScalarType::Null);
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
  std::uint32_t index = push(event, kind, ScalarType::Null);
  Event& start = out_.events[node.start];
  start.end = index;
  start.values = node.values;
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
  if (!anchors_) return fail("unknown anchor" + at(event.start_mark));
  auto found = anchors_->find(name);
  if (found == anchors_->end()) return fail("unknown anchor" + at(event.start_mark));
  const Anchor& anchor = found->second;
  // An alias inside its own anchored node would expand without end.
  if (anchor.open || open_.size() + anchor.height > static_cast<std::size_t>(kMaxNesting)) {
    return fail("recursion limit exceeded" + at(event.start_mark));
  }
  replayed_events_ += anchor.count;
  if (replayed_events_ > std::max(kMinRepetitionLimit, direct_events_)) {
    return fail("repetition limit exceeded" + at(event.start_mark));
  }
  auto& events = out_.events;
  std::size_t base = events.size();
  if (base + anchor.count > kMaxIndex) return fail("document too large");
  // Replayed events keep the positions of the events they copy.
  for (std::uint32_t i = 0; i < anchor.count; ++i) {
    Event copy = events[anchor.first + i];
    if (copy.kind == EventKind::MapStart || copy.kind == EventKind::SeqStart) {
      copy.end = static_cast<std::uint32_t>(copy.end - anchor.first + base);
    }
    events.push_back(copy);
    if (positions_) positions_->push_back((*positions_)[anchor.first + i]);
  }
  finish_node(anchor.height);
  return true;
}

Anchor& TreeBuilder::define(const yaml_char_t* name, std::uint32_t first) {
  if (!anchors_) anchors_ = std::make_unique<tsl::ordered_map<std::string, Anchor>>();
  Anchor& anchor = (*anchors_)[reinterpret_cast<const char*>(name)];
  anchor = Anchor{};
  anchor.first = first;
  return anchor;
}

// A node of the given height is complete; its parent holds one more value
// and is at least one taller.
void TreeBuilder::finish_node(int height) {
  if (open_.empty()) return;
  OpenNode& parent = open_.back();
  ++parent.values;
  parent.height = std::max(parent.height, height + 1);
}

bool TreeBuilder::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

Error syntax_error(const LibyamlParser& parser) { return Error{parser.error_text()}; }

// Reads the document; with `positions`, stops once `stop_after` events are
// made (a position is all that is wanted then).
Result<EventStream> read_document(std::string_view bytes, std::vector<TextPosition>* positions = nullptr,
                                  std::size_t stop_after = kMaxIndex) {
  LibyamlParser parser(bytes);
  if (!parser.initialized()) return Error{"out of memory while parsing YAML"};
  CurrentEvent event;
  if (!event.next(parser)) return syntax_error(parser);  // STREAM-START
  if (!event.next(parser)) return syntax_error(parser);
  if (event.type() != YAML_DOCUMENT_START_EVENT) return Error{"EOF while parsing a value"};

  TreeBuilder tree(bytes, positions);
  while (!tree.complete()) {
    if (!event.next(parser)) return syntax_error(parser);
    if (!tree.add(event.get())) return Error{tree.error()};
    if (positions && positions->size() >= stop_after) return tree.take();
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

TextPosition event_position(std::string_view bytes, std::size_t index) {
  std::vector<TextPosition> positions;
  try {
    read_document(bytes, &positions, index + 1);
  } catch (const std::bad_alloc&) {
  }
  return index < positions.size() ? positions[index] : TextPosition{};
}

}  // namespace vorn::parser::yaml
