#!/usr/bin/env bash
# Records the committed reference pictures again from the current build (after a deliberate
# change of what the simulator draws): every profile in en, de and fr for the pages, and the
# tour's stops on iphone6s in en. Look at the changed pictures before committing them.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sim=${VELKARO_SIM:-$root/build/default/simulator/velkaro-sim}
refs=$root/tests/snapshots/references
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for profile in iphone6 iphone6s ipad-air2 iphone7; do
  for language in en de fr; do
    "$sim" --headless --profile "$profile" --language "$language" --script "$root/tests/snapshots/pages.script" \
      --snapshot-dir "$refs/$profile-$language" --record-snapshots > /dev/null 2>&1
  done
done
"$sim" --headless --profile iphone6s --language en --tour "$work/tour" --snapshot-dir "$refs/tour-iphone6s-en" \
  --record-snapshots > /dev/null 2>&1
echo "recorded $(find "$refs" -name '*.png' | wc -l) references in $refs ($(du -sh "$refs" | cut -f1))"
