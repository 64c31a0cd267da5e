#!/usr/bin/env bash
# Checks that this tree reads every fuzz corpus file exactly as another
# revision does: the same parse results, error texts, validation reports and
# registry documents, byte for byte (compared as hashes, see
# bench/corpus_outputs.cpp). Exits non-zero and lists the files that differ.
#
#   scripts/compare_outputs.sh [REVISION, default main]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rev=${1:-main}
base=$root/build/compare-base
commit=$(git rev-parse "$rev^{commit}")
mkdir -p "$base"
# Unpacked once per revision, so that later runs rebuild nothing there.
if [ "$(cat "$base/commit" 2>/dev/null)" != "$commit" ]; then
  rm -rf "$base/src" "$base/build"
  mkdir -p "$base/src"
  git archive "$commit" | tar -x -C "$base/src"
  echo "$commit" >"$base/commit"
fi
# The revision may predate the driver: build this tree's driver against it.
cp bench/corpus_outputs.cpp "$base/src/bench/corpus_outputs.cpp"
grep -q corpus_outputs "$base/src/CMakeLists.txt" || cat >>"$base/src/CMakeLists.txt" <<'CMAKE'
add_executable(corpus_outputs bench/corpus_outputs.cpp)
target_link_libraries(corpus_outputs PRIVATE vorn_core)
CMAKE

build() {  # source dir, build dir
  cmake -S "$1" -B "$2" -G Ninja -DVORN_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$2" --target corpus_outputs >/dev/null
}
build "$base/src" "$base/build"
build "$root" "$root/build/bench"

inputs=("$root/fuzz/corpus")
[ -d "$root/fuzz/regressions" ] && inputs+=("$root/fuzz/regressions")
"$base/build/corpus_outputs" "${inputs[@]}" >"$base/before.txt"
"$root/build/bench/corpus_outputs" "${inputs[@]}" >"$base/after.txt"
if ! diff "$base/before.txt" "$base/after.txt" >"$base/diff.txt"; then
  echo "compare_outputs.sh: outputs differ from $rev (full texts: corpus_outputs --full FILE):" >&2
  cat "$base/diff.txt" >&2
  exit 1
fi
echo "compare_outputs.sh: $(wc -l <"$base/after.txt") outputs identical to $rev"
