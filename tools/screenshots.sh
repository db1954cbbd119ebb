#!/usr/bin/env bash
# A tour of every page and sheet over the sample book, one PNG each, for looking at after a change:
#
#   bash tools/screenshots.sh [OUT_FOLDER] [-- extra xshot options such as --locale de_DE.UTF-8]
#
# Each shot starts Orza afresh with a new home folder, so the first launch opens the sample book, then types
# the keys that lead to the page or sheet. Needs a built build/Orza/orza; not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-shots}
shift || true
[ "${1:-}" = "--" ] && shift
extra=("$@")
xshot=../shared/tools/xshot
[ -x "$xshot" ] || { echo "screenshots: $xshot is missing" >&2; exit 2; }
[ -x build/Orza/orza ] || { echo "screenshots: build Orza first (bash tools/run.sh)" >&2; exit 2; }
mkdir -p "$out"

# name, then the xdotool keys that lead there (none: the window as it opens). A menu opened from the keyboard
# starts on its first item; Down skips separators and disabled items.
tour=(
  "recipe|"
  "tests|ctrl+2"
  "materials|ctrl+3"
  "batch-sheet|ctrl+shift+b"
  "blend-line|alt+r Down Down Down Down Down Down Down Return"
  "blend-triaxial|ctrl+shift+t"
  "blend-grid|alt+r Down Down Down Down Down Down Down Down Down Return"
  "oxide-nudge|alt+r Down Down Down Down Down Return"
  "replace-material|alt+r Down Down Down Down Down Down Return"
  "label-sheet|alt+t Down Down Return"
  "help|ctrl+question"
  "rename|F2"
)

for entry in "${tour[@]}"; do
  name=${entry%%|*}
  keys=${entry#*|}
  target="$out/$name.png"
  if [ -z "$keys" ]; then
    "$xshot" "$target" --wait 4 "${extra[@]}" -- build/Orza/orza >/dev/null
  else
    # The sidebar has the focus first; each key waits a moment for what it opens.
    steps=()
    for key in $keys; do steps+=(--step "$key"); done
    "$xshot" "$out/$name-steps.png" --wait 4 "${extra[@]}" "${steps[@]}" -- build/Orza/orza >/dev/null
    last=$(ls -v "$out/$name-steps-"*.png | tail -n 1)
    mv "$last" "$target"
    rm -f "$out/$name-steps"*.png "$out/$name-steps.log"
  fi
  echo "screenshots: $target"
done
