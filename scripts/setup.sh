#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, when any is missing. Quiet when all are there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libplist-dev libpango1.0-dev libcairo2-dev fontconfig fonts-urw-base35 fonts-dejavu-core python3-cairo
  libsdl2-dev libxau-dev libpng-dev libgmime-3.0-dev libcli11-dev nlohmann-json3-dev
  xvfb xauth clang-14 libclang-rt-14-dev bubblewrap
)

# One query for all of them: run.sh calls this on every start.
installed="$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null | sed -n 's/ install ok installed$//p' || true)"
missing=()
for p in "${packages[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
