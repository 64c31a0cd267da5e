#pragma once
// Registry files: reading, decoding and checking a registry document. A
// document with any problem is not returned; every problem found is.

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/registry/registry.h"

namespace vorn::registry {

using Diagnostics = std::vector<diagnostics::Diagnostic>;

// A value, or the "vorn:invalid-registry" diagnostics that prevented it.
template <class T>
class RegistryResult {
 public:
  RegistryResult(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  RegistryResult(Diagnostics problems) : v_(std::in_place_index<1>, std::move(problems)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  const T* operator->() const { return &value(); }

  const Diagnostics& diagnostics() const { return std::get<1>(v_); }
  Diagnostics&& take_diagnostics() && { return std::get<1>(std::move(v_)); }

 private:
  std::variant<T, Diagnostics> v_;
};

namespace load {

// Reads the whole file (no size limit) and decodes it as JSON when its
// extension is "json" in any ASCII case, as YAML otherwise.
RegistryResult<model::registry::RegistryDocument> load(const std::string& path);

// Decodes one document, fills blank entry ids with their map keys, and
// checks the header and every entry.
RegistryResult<model::registry::RegistryDocument> load_bytes(std::string_view bytes, bool json);

// True when the path's extension says JSON.
bool is_json_path(std::string_view path);

}  // namespace load

}  // namespace vorn::registry
