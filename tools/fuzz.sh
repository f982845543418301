#!/usr/bin/env bash
# Builds the libFuzzer targets of the platform-free rules (clang, ASan, UBSan) and runs each for a bounded
# time on a scratch copy of its seed corpus, so the tree is never changed. A crash, a sanitizer report, a
# broken invariant, a leak, a hang or a memory blow-up in any target fails the run; the input that caused
# it is kept in build/fuzz/findings/. FUZZ_SECONDS (per target, default 20) and FUZZ_JOBS (targets run at
# once, default 2) set the time it takes; naming targets runs only those.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-20}"
jobs="${FUZZ_JOBS:-2}"
started=$SECONDS

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DBRISOLT_FUZZ=ON -DBRISOLT_WERROR=ON >/dev/null
cmake --build "$build" -j"$jobs" --target fuzz_targets >/dev/null
if [ "$#" -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < "$build/fuzz_targets.txt"
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
findings="$build/findings"
mkdir -p "$findings"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run_target() {
  local target="$1"
  mkdir -p "$scratch/$target"
  if [ -d "$root/tests/fuzz/corpus/$target" ]; then
    cp -R "$root/tests/fuzz/corpus/$target/." "$scratch/$target/"
  fi
  local status=0
  "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" "$scratch/$target" >"$scratch/$target.log" 2>&1 || status=$?
  echo "$status" >"$scratch/$target.status"
}

running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
wait

status=0
total=0
for target in "${targets[@]}"; do
  log="$scratch/$target.log"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  runs="${runs:-0}"
  total=$((total + runs))
  if [ "$(cat "$scratch/$target.status")" = "0" ]; then
    printf '%-24s %10s executions  no finding\n' "$target" "$runs"
  else
    status=1
    printf '%-24s %10s executions  FINDING\n' "$target" "$runs"
    grep -E -A12 'ERROR:|runtime error|invariant broken|Test unit written' "$log" | head -n 40 | sed 's/^/    /'
  fi
done
printf '%-24s %10s executions in %ss\n' "all ${#targets[@]} targets" "$total" "$((SECONDS - started))"
exit "$status"
