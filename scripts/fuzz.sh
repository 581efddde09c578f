#!/usr/bin/env bash
# make fuzz: builds the libFuzzer targets of tests/fuzz with clang (in build/fuzz) and runs each,
# one after another at low priority, for FUZZ_SECONDS (default 60), starting from its committed
# seeds (tests/fuzz/corpus/<target>) and past findings (tests/fuzz/regressions/<target>).
# Nothing is written into the repository: the growing corpus stays in build/fuzz-corpus/<target>,
# crashes land in build/fuzz-findings/<target>, logs in build/fuzz-logs. FUZZ_TARGETS="a b" runs
# only those targets. Ends with a line per target: result, executions per second, coverage
# (libFuzzer's cov and ft figures) and corpus size; exits non-zero when a target failed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

# clang with its libFuzzer runtime, and the symbolizer for readable stack traces.
"$here/setup-packages.sh" clang libclang-rt-dev llvm

if [[ ! -f build/fuzz/build.ninja ]]; then
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DKESTRO_FUZZ=ON -DKESTRO_SANITIZE=OFF \
    >/dev/null
fi
cmake --build build/fuzz -j "$(nproc)" | grep -v '^\[' || true
cmake --build build/fuzz -j "$(nproc)" >/dev/null

seconds=${FUZZ_SECONDS:-60}
if [[ -n "${FUZZ_TARGETS:-}" ]]; then
  read -r -a targets <<<"$FUZZ_TARGETS"
else
  targets=()
  for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
symbolizer=$(command -v llvm-symbolizer || true)
[[ -n "$symbolizer" ]] && export ASAN_SYMBOLIZER_PATH=$symbolizer

mkdir -p build/fuzz-logs
summary=()
failed=0
for target in "${targets[@]}"; do
  program=build/fuzz/tests/fuzz/${target}_fuzz
  corpus=build/fuzz-corpus/$target
  findings=build/fuzz-findings/$target
  log=build/fuzz-logs/$target.log
  mkdir -p "$corpus" "$findings"
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/")
  [[ -f tests/fuzz/${target}_fuzz.dict ]] && options+=(-dict="tests/fuzz/${target}_fuzz.dict")
  if [[ -f tests/fuzz/${target}_fuzz.options ]]; then
    read -r -a extra <"tests/fuzz/${target}_fuzz.options"
    options+=("${extra[@]}")
  fi
  # New inputs go into the first folder only: the one under build/.
  seeds=("tests/fuzz/corpus/$target")
  [[ -d tests/fuzz/regressions/$target ]] && seeds+=("tests/fuzz/regressions/$target")
  echo "Fuzzing $target for ${seconds}s"
  result=clean
  if ! nice -n 10 "$program" "${options[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    result="FAILED (see $log and $findings)"
    failed=1
  fi
  last=$(grep -E '^#[0-9]+' "$log" | tail -n1 || true)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
  corp=$(sed -nE 's/.* corp: ([0-9]+\/[0-9]+[a-zA-Z]*).*/\1/p' <<<"$last")
  rate=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+)/\1/p' "$log" | tail -n1)
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -n1)
  summary+=("$(printf '%-18s %-8s %8s exec/s %10s runs  cov %5s  ft %6s  corpus %s' "$target" \
    "${result%% *}" "${rate:-?}" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}")")
  [[ $result == clean ]] || echo "  $result"
done
printf '%s\n' "${summary[@]}"
exit $failed
