#include "plan/equivalence/equivalent.h"

#include "model/json_value.h"
#include "plan/equivalence/fingerprint.h"
#include "plan/equivalence/normalized_guarantees.h"

namespace vorn::plan::equivalence {

bool equivalent(const model::TransformationPlan& a, const model::TransformationPlan& b) {
  // Cheapest first; the fingerprints, which order and normalize every node,
  // only when everything else agrees.
  return a.identity == b.identity && a.inputs == b.inputs && a.outputs == b.outputs && a.functions == b.functions &&
         a.lineage == b.lineage && normalized_guarantees(a) == normalized_guarantees(b) &&
         a.versioning == b.versioning && vorn::model::json_map_equal(a.extensions, b.extensions) &&
         semantic_fingerprint(a) == semantic_fingerprint(b);
}

}  // namespace vorn::plan::equivalence
