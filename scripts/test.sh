#!/usr/bin/env bash
# The test command: installs what is missing, builds the native, sanitizer and
# Windows presets and runs every suite (the Windows one under Wine).  Exits
# non-zero when a build fails, a test fails or no test ran.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh || { echo "test.sh: installing the dependencies failed"; exit 1; }

status=0
summary=

# run_preset NAME: configures, builds and tests one preset; adds its GoogleTest
# counts to the summary.
run_preset() {
  local name=$1
  echo "==== $name: configure and build"
  if ! cmake --preset "$name" >"$root/build/$name-configure.log" 2>&1; then
    cat "$root/build/$name-configure.log"; status=1; summary="$summary\n$name: configure failed"; return
  fi
  if ! cmake --build --preset "$name"; then
    status=1; summary="$summary\n$name: build failed"; return
  fi
  echo "==== $name: tests"
  ctest --preset "$name" || status=1
  local log="$root/build/$name/Testing/Temporary/LastTest.log"
  local passed failed
  passed=$(grep -hoE '^\[  PASSED  \] [0-9]+ test' "$log" 2>/dev/null | awk '{s+=$4} END {print s+0}')
  failed=$(grep -hoE '^\[  FAILED  \] [0-9]+ test' "$log" 2>/dev/null | awk '{s+=$4} END {print s+0}')
  skipped=$(grep -hoE '^\[  SKIPPED \] [0-9]+ test' "$log" 2>/dev/null | awk '{s+=$4} END {print s+0}')
  summary="$summary\n$name: $passed passed, $failed failed, $skipped skipped"
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  total_skipped=$((total_skipped + skipped))
  [ "$passed" -gt 0 ] || { status=1; summary="$summary (no test ran)"; }
}

# Seconds each fuzz target runs (TESSALY_FUZZ_SECONDS to change it).
fuzz_seconds=${TESSALY_FUZZ_SECONDS:-15}
total_passed=0
total_failed=0
total_skipped=0
mkdir -p build
run_preset linux
run_preset linux-asan

# Every fuzz target, built with clang, over its corpus and a little beyond.
echo "==== fuzz: build and run every target for $fuzz_seconds s"
fuzz_log="$root/build/fuzz-check.log"
bash scripts/fuzz.sh --check "$fuzz_seconds" 2>&1 | tee "$fuzz_log"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
summary="$summary\n$(grep -E '^fuzz: ' "$fuzz_log" | tail -n 1)"

# The Windows suite runs under Wine with one Xvfb and one wineserver for the
# whole run, both ended when it is over.  (The harness's settings, the
# Japanese locale among them, are for Wine alone: the native runs go before.)
. scripts/wine-env.sh
own_display=0
if [ -z "${DISPLAY:-}" ]; then
  tessaly_start_xvfb
  own_display=1
fi
run_preset windows
for prefix in "$root"/build/windows/wineprefix*; do
  [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null
done
[ $own_display = 1 ] && tessaly_stop_xvfb

echo
echo "==== summary (GoogleTest cases)"
printf "%b\n" "${summary#\\n}"
echo "total: $total_passed passed, $total_failed failed, $total_skipped skipped"
[ $total_failed -eq 0 ] || status=1
exit $status
