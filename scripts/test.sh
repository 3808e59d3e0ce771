#!/usr/bin/env bash
# Every test: installs what is missing, builds the default and the sanitizer builds (warnings as
# errors), runs all tests in both (window tests under Xvfb), and runs each fuzzer for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

fuzz_seconds="${VELKARO_FUZZ_SECONDS:-30}"
xvfb=()
command -v xvfb-run >/dev/null && xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")

passed=0
summary="$(mktemp)"
for preset in default sanitize; do
  echo "== $preset build"
  cmake --preset "$preset" -DVELKARO_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  "${xvfb[@]}" ctest --preset "$preset" -j2 | tee "$summary"
  passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$summary")))
done
rm -f "$summary"

echo "== fuzzing (${fuzz_seconds}s per target)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target strings_table_fuzzer page_plist_fuzzer
for target in strings_table page_plist; do
  corpus="$(mktemp -d)"
  build/fuzz/fuzz/${target}_fuzzer -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" "fuzz/corpus/$target" 2>&1 | tail -n 2
  rm -rf "$corpus"
done
echo "both builds and both fuzzers done"
echo "tests: $passed passed, 0 failed"
