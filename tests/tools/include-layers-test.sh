#!/usr/bin/env bash
# Plants includes in a copy of Orza/ and expects tools/include-layers.sh to refuse each one that reaches a
# folder listed later in README.md, however it is written, and to let the tree as it is and the includes
# within a folder or down the layers pass.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
copy="$(mktemp -d)"
trap 'rm -rf "$copy"' EXIT
mkdir -p "$copy/tools"
cp "$root/README.md" "$copy/"
cp "$root/tools/include-layers.sh" "$copy/tools/"
cp -r "$root/Orza" "$copy/"

failures=0
# expect pass|fail, the file to plant (under Orza/), then its lines.
expect() {
  local outcome="$1" planted="Orza/$2"
  shift 2
  mkdir -p "$(dirname "$copy/$planted")"
  printf '%s\n' "$@" >"$copy/$planted"
  local said status
  said="$(bash "$copy/tools/include-layers.sh" 2>&1)"
  status=$?
  rm -f "$copy/$planted"
  if [ "$outcome" = pass ] && [ "$status" -ne 0 ]; then
    echo "FAIL: $planted was refused: $*"$'\n'"$said"
    failures=$((failures + 1))
  elif [ "$outcome" = fail ] && { [ "$status" -eq 0 ] || ! grep -q "$planted" <<<"$said"; }; then
    echo "FAIL: $planted was not named: $*"$'\n'"$said"
    failures=$((failures + 1))
  fi
}

said="$(bash "$copy/tools/include-layers.sh" 2>&1)" || {
  echo "FAIL: the tree as it is was refused"$'\n'"$said"
  failures=$((failures + 1))
}

# Up the layers, closing no loop: nothing below help includes resources.
expect fail resources/Planted.h '#include "Orza/help/HelpWindow.h"'
expect fail help/Planted.h '#include <Orza/window/BookWindow.h>'
expect fail help/Planted.cpp '#include "../window/BookWindow.h"'
expect fail help/Planted.cpp '  #  include "./../app/../window/BookWindow.h"'
expect fail extra/Planted.h '#include "Orza/display/NumberDisplay.h"'

expect pass help/Planted.cpp '#include "HelpWindow.h"' '#include "../help/HelpWindow.h"' \
  '#include <Orza/help/HelpWindow.h>' '#include "Orza/platform/GlazeMainApp.h"' '#include "../widgets/TextStyle.h"'
# A quoted name that is not beside the file is looked up from the project root, as the compiler does.
expect pass help/Planted.cpp '#include "Orza/actions/CommandTable.h"' '#include "GlazeCore/core/Rounding.h"'

if [ "$failures" -ne 0 ]; then
  echo "$failures include checks went wrong"
  exit 1
fi
echo "include-layers: every planted include was judged right"
