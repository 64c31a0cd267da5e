#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build/fuzz and runs each one
# for a while on a scratch copy of its seed corpus. Exits non-zero when any
# target crashes, hangs, runs out of memory or trips a sanitizer; the input
# that did it is left in build/fuzz/artifacts/<target>/.
#
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
#
# Extra libFuzzer flags can be passed in FUZZ_FLAGS (e.g. "-jobs=2 -workers=2").
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_contract_yaml fuzz_contract_json fuzz_registry fuzz_expression fuzz_plan
                                      fuzz_compare)
build=$root/build/fuzz

if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ not found (scripts/setup.sh installs it)" >&2
  exit 1
fi

# -O1 with assertions on: faster than Debug, and an assert is a finding.
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVORN_BUILD_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
cmake --build "$build" --target "${targets[@]}"

# Documents are bounded so that each run explores variety rather than size;
# deep nesting still fits in every limit.
max_len() {
  case $1 in
    fuzz_expression) echo 4096 ;;
    *) echo 16384 ;;
  esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for target in "${targets[@]}"; do
  work=$build/corpus/$target
  artifacts=$build/artifacts/$target
  mkdir -p "$work" "$artifacts"
  flags=(-max_len="$(max_len "$target")" -timeout=10 -rss_limit_mb=2048 -max_total_time="$seconds"
         -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -f "$root/fuzz/$target.dict" ] && flags+=(-dict="$root/fuzz/$target.dict")
  echo "== $target for ${seconds}s"
  seeds=("$root/fuzz/corpus/$target")
  [ -d "$root/fuzz/regressions/$target" ] && seeds+=("$root/fuzz/regressions/$target")
  # shellcheck disable=SC2086  # FUZZ_FLAGS is a list of flags
  if ! (cd "$build" && "./$target" "${flags[@]}" ${FUZZ_FLAGS:-} "$work" "${seeds[@]}"); then
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failures in ${failed[*]}; inputs in $build/artifacts/" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} targets ran ${seconds}s each without a finding"
