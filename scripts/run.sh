#!/usr/bin/env bash
# The main job: installs what is missing, builds, and opens the simulator on the pane. Without a
# display it runs the built-in tour and says where its snapshots and log are. Arguments are
# passed to the simulator (see --help) and its relative paths are the caller's: only the build
# runs in the repository. VELKARO_BUILD_DIR picks another configured build folder.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELKARO_BUILD_DIR:-$repo/build/default}"
bash "$repo/scripts/setup.sh"
# Configured once; later builds re-run the configuration themselves when a CMake file changes.
if [ ! -f "$build/CMakeCache.txt" ]; then
  (cd "$repo" && cmake --preset default >/dev/null)
fi
cmake --build "$build" --target velkaro-sim Velkaro
exec "$build/simulator/velkaro-sim" "$@"
