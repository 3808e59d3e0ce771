#!/usr/bin/env bash
# Every test: installs what is missing, builds the default and the sanitizer builds (warnings as
# errors), runs all tests in both (window tests under Xvfb), runs the sanitizer build of the
# simulator on the tour, and runs each fuzzer for a while. Any failing
# step stops the script with a non-zero status; the last line counts what passed.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
bash scripts/setup.sh

fuzz_seconds="${VELKARO_FUZZ_SECONDS:-30}"
fuzz_targets=(strings_table page_plist text_plist float_value url_escape script_line)
xvfb=()
command -v xvfb-run >/dev/null && xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")

passed=0
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for preset in default sanitize; do
  echo "== $preset build"
  cmake --preset "$preset" -DVELKARO_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  "${xvfb[@]}" ctest --preset "$preset" -j2 | tee "$scratch/summary"
  count="$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$scratch/summary")"
  [ -n "$count" ] || { echo "no test summary from ctest ($preset)" >&2; exit 1; }
  passed=$((passed + count))
done

# The program itself under the sanitizers, without a display, on a fresh device: it carries its
# own leak suppressions, so nothing is set up here. (The example scripts run under ctest.)
sim="$root/build/sanitize/simulator/velkaro-sim"
echo "== sanitizer build: tour"
env -u DISPLAY -u WAYLAND_DISPLAY "$sim" --device-root "$scratch/tour-device" --tour "$scratch/tour" >/dev/null
passed=$((passed + 1))

echo "== fuzzing (${fuzz_seconds}s per target)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${fuzz_targets[@]/%/_fuzzer}"
for target in "${fuzz_targets[@]}"; do
  corpus="$scratch/corpus-$target"
  mkdir -p "$corpus"
  echo "-- $target"
  # A crash leaves its input as crash-* in the current folder.
  if ! build/fuzz/fuzz/${target}_fuzzer -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" "fuzz/corpus/$target" >"$scratch/fuzz.log" 2>&1; then
    tail -n 40 "$scratch/fuzz.log"
    echo "the $target fuzzer failed" >&2
    exit 1
  fi
  tail -n 2 "$scratch/fuzz.log"
  passed=$((passed + 1))
done
echo "both builds, the program under the sanitizers and ${#fuzz_targets[@]} fuzzers done"
echo "tests: $passed passed, 0 failed"
