#pragma once
// The process-wide default registry: the built-in registry, built once on
// first use and never changed afterwards.

#include "model/registry/registry.h"

namespace vorn::registry {

// Concurrent first callers wait for one build; all get the same value. A
// broken embedded document is a defect of the build itself: it is reported
// on stderr and the process aborts.
const model::registry::RegistryDocument& default_registry();

}  // namespace vorn::registry
