#!/usr/bin/env bash
# The main job: installs what is missing, builds, and opens the simulator on the pane. Without a
# display it runs the built-in tour and says where its snapshots and log are. Arguments are
# passed to the simulator (see --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target velkaro-sim Velkaro
exec build/default/simulator/velkaro-sim "$@"
