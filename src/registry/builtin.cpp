#include "registry/builtin.h"

#include <algorithm>
#include <vector>

#include <fmt/format.h>

#include "diagnostics/codes.h"
#include "registry/embedded.h"
#include "registry/load.h"
#include "support/unicode.h"

namespace vorn::registry::builtin {

using model::registry::ExtensionCompatibility;
using model::registry::RegistryCategory;
using model::registry::RegistryDocument;
using model::registry::RegistryEntry;
using model::registry::RegistryEntryStatus;
using model::registry::RegistryPublicationStatus;

namespace {

constexpr std::string_view kEmbeddedDocs[] = {
    "builtin/semantic_actions.yaml",
    "builtin/functions.yaml",
    "builtin/rules.yaml",
};

// Bytes of the UTF-8 sequence led by `lead`; an ill-formed lead byte counts
// as a character of its own.
std::size_t sequence_length(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Splits at White_Space characters, dropping empty pieces.
std::vector<std::string_view> split_words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = std::min(sequence_length(static_cast<unsigned char>(text[i])), text.size() - i);
    if (is_blank(text.substr(i, n))) {
      if (i > start) words.push_back(text.substr(start, i - start));
      start = i + n;
    }
    i += n;
  }
  if (start < text.size()) words.push_back(text.substr(start));
  return words;
}

std::string capitalize(std::string_view word) {
  std::size_t n = std::min(sequence_length(static_cast<unsigned char>(word[0])), word.size());
  return to_upper(word.substr(0, n)).append(word.substr(n));
}

RegistryDocument header() {
  RegistryDocument d;
  d.id = "vorn:builtin";
  d.version = "0.8.0";
  d.governing_specification = "1.0.0-draft";
  d.publication_status = RegistryPublicationStatus::Standard;
  return d;
}

}  // namespace

RegistryEntry entry(std::string_view id, std::string_view name, RegistryCategory category,
                    std::string_view definition) {
  RegistryEntry e;
  e.id = std::string(id);
  e.name = std::string(name);
  e.category = category;
  e.version = "1.0.0";
  e.status = RegistryEntryStatus::Standard;
  if (category == RegistryCategory::ExtensionNamespace) e.compatibility = ExtensionCompatibility::Optional;
  e.definition = std::string(definition);
  e.supported = true;
  return e;
}

std::string diagnostic_entry_name(std::string_view code) {
  if (code.starts_with("vorn:")) code.remove_prefix(5);
  std::string spaced(code);
  for (char& c : spaced)
    if (c == '-') c = ' ';
  std::string name;
  for (std::string_view word : split_words(spaced)) {
    if (!name.empty()) name += ' ';
    name += capitalize(word);
  }
  return name;
}

Result<bool> merge_builtin_doc(RegistryDocument& registry, std::string_view text, std::string_view name) {
  auto loaded = load::load_bytes(text, false);
  if (!loaded) {
    std::string details;
    for (const auto& d : loaded.diagnostics()) {
      if (!details.empty()) details += "; ";
      details += fmt::format("{}: {}", d.id, d.message);
    }
    return Error{fmt::format("invalid embedded registry doc '{}': {}", name, details)};
  }
  registry.merge(loaded.value());
  return true;
}

Result<RegistryDocument> builtin_registry() {
  RegistryDocument registry = header();
  registry.entries.insert_or_assign("vorn", entry("vorn", "VORN Namespace", RegistryCategory::ExtensionNamespace,
                                                  "Reserved namespace for standardized VORN identifiers"));
  for (const auto& info : diagnostics::all_codes()) {
    std::string code(info.id);
    registry.entries.insert_or_assign(
        code, entry(code, diagnostic_entry_name(code), RegistryCategory::Diagnostic, code));
  }
  for (std::string_view name : kEmbeddedDocs) {
    // A missing document reads as empty text and fails like a broken one.
    auto merged = merge_builtin_doc(registry, embedded::find(name).value_or(std::string_view()), name);
    if (!merged) return Error{merged.error()};
  }
  return registry;
}

}  // namespace vorn::registry::builtin
