#!/usr/bin/env bash
# Installs what is missing, builds, and starts Orza.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel
exec build/Orza/orza "$@"
