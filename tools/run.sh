#!/usr/bin/env bash
# Installs what is missing, builds, and starts Orza.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel
if [ -x build/Orza/orza ]; then
  exec build/Orza/orza "$@"
fi
echo "The logic library is built. The application itself arrives with the book window."
