#!/usr/bin/env bash
# The fuzz command: builds the libFuzzer targets with clang and runs each over
# its corpus and on for a while (default 60 s), keeping the new inputs it
# finds in the target's corpus (tests/fuzz/corpus/NAME/, commit them).  A
# crashing input is written to build/fuzz/crashes/; once fixed, add it to the
# corpus so that the test command replays it for good.
#   bash scripts/fuzz.sh [--check] [SECONDS] [NAME...]
# --check (the test command): the new inputs go to a scratch folder and the
# checkout is left as it was; nothing is installed.  Every target of
# tests/fuzz/ must build and run clean: the exit status is non-zero when one
# does not build, crashes, leaks, hangs or trips a sanitizer.
set -u
cd "$(dirname "$0")/.."
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
seconds=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
[ $check = 1 ] || scripts/install-deps.sh || exit 1
mkdir -p build
cmake --preset fuzz >build/fuzz-configure.log 2>&1 || { cat build/fuzz-configure.log; echo "fuzz: configure failed"; exit 1; }
build_status=0
cmake --build --preset fuzz || build_status=1
mkdir -p build/fuzz/crashes
status=$build_status
ran=0
failed=0
printf '%-12s %8s %10s %8s %8s\n' target seconds "execs/s" corpus result
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  exe=build/fuzz/bin/${name}_fuzz
  ran=$((ran + 1))
  if [ ! -x "$exe" ]; then
    printf '%-12s %8s %10s %8s %8s\n' "$name" - - - "not built"
    failed=$((failed + 1)); status=1; continue
  fi
  corpus=tests/fuzz/corpus/$name
  mkdir -p "$corpus"
  # libFuzzer writes what it finds to the first folder and only reads the others.
  found=$corpus
  if [ $check = 1 ]; then
    found=build/fuzz/found/$name
    rm -rf "$found"; mkdir -p "$found"
  fi
  log=build/fuzz/$name.log
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crashes/$name-" "$found" "$corpus" >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::average_exec_per_sec:\s*//p' "$log")
  result=clean
  if [ $rc -ne 0 ]; then
    result="failed ($rc)"; failed=$((failed + 1)); status=1
  fi
  printf '%-12s %8s %10s %8s %8s\n' "$name" "$seconds" "${execs:-?}" "$(ls "$corpus" | wc -l)" "$result"
  if [ $rc -ne 0 ]; then
    echo "  $name: see $log; the input is in build/fuzz/crashes/"
    grep -m 5 -E 'ERROR|SUMMARY|deadly|Test unit written' "$log" | sed 's/^/  /'
  fi
done
[ $build_status = 0 ] || echo "fuzz: the build failed"
echo "fuzz: $ran targets, $((ran - failed)) clean, $failed failed"
[ $ran -gt 0 ] || status=1
exit $status
