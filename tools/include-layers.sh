#!/usr/bin/env bash
# Checks that the folders of Orza/ keep the layer order README.md lists: a folder includes only itself and
# the folders listed before it, however the include is written ("Orza/…", <Orza/…> or "../folder/…").
# Fails, naming each include that reaches a folder listed after its own.
#   bash tools/include-layers.sh          # quiet unless an include breaks the order
#   bash tools/include-layers.sh --list   # every folder, lowest first, with the folders it includes
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

# The folders README.md lists under `Orza/`, lowest first.
layers() {
  awk '/^- `/ { inOrza = ($0 ~ /^- `Orza\//) } inOrza' README.md | grep -oE '`[a-z]+/`' | tr -d '`/'
}
sources() {
  find Orza \( -name '*.h' -o -name '*.cpp' \) | sort
}
# "file:line:text" of every include in Orza/.
includes() {
  grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' Orza
}

{
  layers | sed 's/^/layer /'
  sources | sed 's/^/file /'
  includes | sed 's/^/include /'
} | awk -v list="${1:-}" '
  # The path with its "." and ".." steps taken; a path that climbs out of the tree keeps its leading "..".
  function normalized(path,    parts, n, i, out, depth) {
    n = split(path, parts, "/"); depth = 0
    for (i = 1; i <= n; i++) {
      if (parts[i] == "" || parts[i] == ".") continue
      if (parts[i] == ".." && depth > 0 && kept[depth] != "..") { depth--; continue }
      kept[++depth] = parts[i]
    }
    out = ""
    for (i = 1; i <= depth; i++) out = out (i > 1 ? "/" : "") kept[i]
    return out
  }
  # The folder of Orza/ a path lies in; none for a path outside a folder of Orza/.
  function folderOf(path,    parts) {
    if (split(path, parts, "/") < 3 || parts[1] != "Orza") return ""
    return parts[2]
  }
  # What the compiler opens: a quoted name beside the including file first, then from the project root.
  function target(file, name, quoted,    dir, beside) {
    dir = file; sub(/\/[^\/]*$/, "", dir)
    beside = normalized(dir "/" name)
    if (quoted && (beside in exists)) return beside
    return normalized(name)
  }
  $1 == "layer" { rank[$2] = ++layerCount; layer[layerCount] = $2; next }
  $1 == "file" {
    exists[$2] = 1
    if (folderOf($2) != "" && !(folderOf($2) in hasCode)) hasCode[folderOf($2)] = $2
    next
  }
  $1 == "include" {
    line = substr($0, 9)
    split(line, at, ":"); file = at[1]; number = at[2]
    text = substr(line, length(file) + length(number) + 3)
    if (!match(text, /[<"][^>"]+[>"]/)) next
    name = substr(text, RSTART + 1, RLENGTH - 2)
    from = folderOf(file); to = folderOf(target(file, name, substr(text, RSTART, 1) == "\""))
    if (from == "" || to == "" || from == to) next
    uses[from, to] = 1
    if ((from in rank) && (to in rank) && rank[to] > rank[from])
      broken[++brokenCount] = sprintf("  %s:%s includes %s: %s/ comes after %s/", file, number, name, to, from)
  }
  END {
    if (layerCount == 0) { print "README.md lists no folders under `Orza/`." > "/dev/stderr"; exit 1 }
    for (folder in hasCode) if (!(folder in rank))
      unlisted[++unlistedCount] = sprintf("  %s: README.md does not list %s/ under `Orza/`", hasCode[folder], folder)
    if (list == "--list")
      for (i = 1; i <= layerCount; i++) {
        if (!(layer[i] in hasCode)) continue
        line = ""
        for (j = 1; j <= layerCount; j++) if ((layer[i], layer[j]) in uses) line = line " " layer[j]
        printf "%-12s ->%s\n", layer[i], (line == "" ? " (nothing)" : line)
      }
    if (brokenCount + unlistedCount == 0) exit 0
    print "A folder of Orza/ may include only itself and the folders README.md lists before it." > "/dev/stderr"
    for (i = 1; i <= unlistedCount; i++) print unlisted[i] > "/dev/stderr"
    for (i = 1; i <= brokenCount; i++) print broken[i] > "/dev/stderr"
    print "Move the code to the folder it belongs in, or hand it what it needs from above." > "/dev/stderr"
    exit 1
  }'
