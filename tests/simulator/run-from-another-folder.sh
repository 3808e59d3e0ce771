#!/usr/bin/env bash
# scripts/run.sh started from another folder: a relative script, event log and snapshot are the
# caller's, and a missing script is named by its absolute path.
# Arguments: the repository, and a scratch folder to work in.
set -euo pipefail
repo="$1" work="$2"
rm -rf "$work"
mkdir -p "$work/caller"
cd "$work/caller"
printf 'open\ntap Configuration\nsnapshot shots/configuration.png\nexpect "Configuration"\n' >relative.script

fail() { echo "$1"; echo "$out"; exit 1; }
out="$(bash "$repo/scripts/run.sh" --headless --strict --script relative.script --event-log events.jsonl 2>&1)" ||
  fail "the relative script did not run from $PWD"
for f in shots/configuration.png events.jsonl; do
  [ -s "$f" ] || fail "no $f in $PWD"
done
if out="$(bash "$repo/scripts/run.sh" --headless --script missing.script 2>&1)"; then fail "a missing script passed"; fi
grep -qF "cannot read the script $PWD/missing.script" <<<"$out" || fail "the missing script is not named by its absolute path"
