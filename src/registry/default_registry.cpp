#include "registry/default_registry.h"

#include <cstdio>
#include <cstdlib>

#include "registry/builtin.h"

namespace vorn::registry {

namespace {

model::registry::RegistryDocument build_or_abort() {
  auto built = builtin::builtin_registry();
  if (!built) {
    std::fprintf(stderr, "%s\n", built.error().c_str());
    std::abort();
  }
  return std::move(built).value();
}

}  // namespace

const model::registry::RegistryDocument& default_registry() {
  // Function-local statics are initialised exactly once, thread-safely.
  static const model::registry::RegistryDocument registry = build_or_abort();
  return registry;
}

}  // namespace vorn::registry
