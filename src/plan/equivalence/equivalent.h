#pragma once
// Whether two plans compute the same thing: the same identity, interfaces,
// functions, lineage, versioning, extension entries and guarantees, and the
// same semantic fingerprint. Metadata and findings do not count.

#include "plan/model/plan.h"

namespace vorn::plan::equivalence {

bool equivalent(const model::TransformationPlan& a, const model::TransformationPlan& b);

}  // namespace vorn::plan::equivalence
