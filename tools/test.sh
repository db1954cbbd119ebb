#!/usr/bin/env bash
# Installs what is missing, checks the layers of Orza/, builds, and runs every test, then the sanitizer and fuzzing steps.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
# Each folder of Orza/ includes only the folders README.md lists before it; any other include fails here,
# before the build.
bash tools/include-layers.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORZA_BUILD_TESTS=ON >/dev/null
cmake --build build --parallel
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
# The library under sanitizers and a short run of each fuzz target; its last line counts what passed.
bash tools/hardening.sh
