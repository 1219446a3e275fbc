#!/usr/bin/env bash
# The fuzz command: builds the libFuzzer targets with clang and runs each for
# a while (default 60 s), keeping the new inputs it finds in the target's
# corpus (tests/fuzz/corpus/NAME/, commit them).  A crashing input is written
# to build/fuzz/crashes/; once fixed, add it to the corpus so that the test
# command replays it for good.
#   bash scripts/fuzz.sh [SECONDS] [NAME...]
set -u
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
scripts/install-deps.sh --fuzz || exit 1
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz || exit 1
mkdir -p build/fuzz/crashes
status=0
printf '%-16s %8s %10s %8s %8s\n' target seconds "execs/s" corpus crashes
for exe in build/fuzz/bin/*_fuzz; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe" _fuzz)
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  corpus=tests/fuzz/corpus/$name
  mkdir -p "$corpus"
  log=build/fuzz/$name.log
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crashes/$name-" "$corpus" >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::average_exec_per_sec:\s*//p' "$log")
  crashes=$(ls build/fuzz/crashes/ 2>/dev/null | grep -c "^$name-")
  printf '%-16s %8s %10s %8s %8s\n' "$name" "$seconds" "${execs:-?}" "$(ls "$corpus" | wc -l)" "$crashes"
  [ $rc -eq 0 ] || { status=1; echo "  $name stopped with $rc: see $log"; }
done
exit $status
