#include "registry/load.h"

#include <cstdint>
#include <unordered_set>

#include <fmt/format.h>

#include "parser/json_events.h"
#include "parser/yaml_events.h"
#include "support/file_reader.h"
#include "support/unicode.h"

namespace vorn::registry::load {

using diagnostics::Code;
using diagnostics::Diagnostic;
using diagnostics::DiagnosticCategory;
using diagnostics::DiagnosticSeverity;
using diagnostics::DiagnosticStage;
using model::registry::RegistryCategory;
using model::registry::RegistryDocument;
using model::registry::RegistryEntry;

namespace {

Diagnostic parse_problem(std::string message, std::string remediation) {
  return Diagnostic::make(Code::InvalidRegistry, DiagnosticSeverity::Error, DiagnosticStage::Parse,
                          DiagnosticCategory::Syntax, std::move(message))
      .with_remediation(std::move(remediation));
}

Diagnostic check_problem(std::string message, std::string object_ref, std::string remediation) {
  return Diagnostic::make(Code::InvalidRegistry, DiagnosticSeverity::Error, DiagnosticStage::Validation,
                          DiagnosticCategory::Structure, std::move(message))
      .with_object_ref(std::move(object_ref))
      .with_remediation(std::move(remediation));
}

// Registry files have no size limit of their own, but nothing larger than
// the decoders can address is worth holding in memory: such a file is read
// only that far, and decoding it then fails as too large.
constexpr std::size_t kMaxDecodable = std::size_t{UINT32_MAX} + 1;

bool equals_ignoring_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

Result<RegistryDocument> decode(std::string_view bytes, bool json) {
  auto events = json ? parser::json::read_events(bytes) : parser::yaml::read_events(bytes);
  if (!events) return Error{std::move(events).take_error()};
  return RegistryDocument::deserialize(events.value());
}

void fill_blank_ids(RegistryDocument& document) {
  for (auto it = document.entries.begin(); it != document.entries.end(); ++it) {
    if (is_blank(it->second.id)) it.value().id = it->first;
  }
}

void check_header(const RegistryDocument& d, Diagnostics& out) {
  if (is_blank(d.id))
    out.push_back(check_problem("registry id is required", "id", "Provide a stable registry identifier"));
  if (is_blank(d.version))
    out.push_back(check_problem("registry version is required", "version", "Provide a registry version"));
  if (is_blank(d.governing_specification))
    out.push_back(check_problem("governingSpecification is required", "governingSpecification",
                                "Provide the governing VORN specification version"));
}

// A prefix, a colon, and something after it.
bool is_namespaced(std::string_view id) {
  auto colon = id.find(':');
  return colon != std::string_view::npos && colon != 0 && colon != id.size() - 1;
}

void check_id_form(const RegistryEntry& e, Diagnostics& out) {
  std::string ref = fmt::format("entries.{}", e.id);
  if (e.category == RegistryCategory::ExtensionNamespace) {
    if (e.id.find(':') != std::string::npos)
      out.push_back(check_problem(fmt::format("extension namespace '{}' must not include a colon", e.id),
                                  ref, "Use a bare namespace prefix such as 'vorn' or 'vendor'"));
  } else if (!is_namespaced(e.id)) {
    out.push_back(check_problem(fmt::format("registry entry id '{}' must be a namespaced identifier", e.id),
                                ref, "Use a namespaced identifier such as vorn:lowercase"));
  }
}

void check_entry(const std::string& key, const RegistryEntry& e, std::unordered_set<std::string>& seen,
                 Diagnostics& out) {
  if (key != e.id)
    out.push_back(check_problem(fmt::format("entry key '{}' does not match entry id '{}'", key, e.id),
                                fmt::format("entries.{}", key), "Use the entry id as the map key"));
  if (!seen.insert(e.id).second)
    out.push_back(check_problem(fmt::format("duplicate registry entry id '{}'", e.id),
                                fmt::format("entries.{}", e.id), "Registry entry identifiers must be unique"));
  if (is_blank(e.id)) {
    out.push_back(check_problem("registry entry id is required", "entries", "Provide a stable entry identifier"));
    return;
  }
  check_id_form(e, out);
  if (is_blank(e.name))
    out.push_back(check_problem(fmt::format("registry entry '{}' is missing a name", e.id),
                                fmt::format("entries.{}.name", e.id), "Provide a human-readable name"));
  if (is_blank(e.version))
    out.push_back(check_problem(fmt::format("registry entry '{}' is missing a version", e.id),
                                fmt::format("entries.{}.version", e.id), "Provide an entry version"));
}

}  // namespace

bool is_json_path(std::string_view path) { return equals_ignoring_ascii_case(path_extension(path), "json"); }

RegistryResult<RegistryDocument> load(const std::string& path) {
  auto bytes = read_file_prefix(path, kMaxDecodable);
  if (!bytes)
    return Diagnostics{parse_problem(fmt::format("failed to read registry '{}': {}", path, bytes.error()),
                                     "Provide a readable registry file path")};
  return load_bytes(bytes.value(), is_json_path(path));
}

RegistryResult<RegistryDocument> load_bytes(std::string_view bytes, bool json) {
  auto decoded = decode(bytes, json);
  if (!decoded) {
    std::string message = fmt::format("invalid registry {}: {}", json ? "JSON" : "YAML", decoded.error());
    return Diagnostics{parse_problem(std::move(message), "Provide a valid registry document")};
  }
  RegistryDocument document = std::move(decoded).value();
  fill_blank_ids(document);
  Diagnostics problems;
  check_header(document, problems);
  std::unordered_set<std::string> seen;
  for (const auto& [key, entry] : document.entries) check_entry(key, entry, seen, problems);
  if (!problems.empty()) return problems;
  return document;
}

}  // namespace vorn::registry::load
