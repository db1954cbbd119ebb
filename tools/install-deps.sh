#!/usr/bin/env bash
# Installs the Debian packages Orza builds with, only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config locales libicu-dev libsimdjson-dev uuid-dev libgtest-dev libbenchmark-dev
          qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools
          qt6-translations-l10n libgl-dev xvfb fonts-dejavu-core imagemagick clang poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The sanitizer and fuzzer runtimes of the clang that is installed (tools/hardening.sh).
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
if [ -n "$clang_major" ] &&
   ! dpkg-query -W -f='${Status}' "libclang-rt-$clang_major-dev" 2>/dev/null | grep -q 'install ok installed'; then
  echo "Installing: libclang-rt-$clang_major-dev"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "libclang-rt-$clang_major-dev"
fi

# The tests check that a German process locale changes no number text.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || echo "Could not make the de_DE.UTF-8 locale; its test will be skipped."
fi
