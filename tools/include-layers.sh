#!/usr/bin/env bash
# Checks that the folders of Orza/ form layers: a folder includes only folders below it, never one that
# includes it back, however indirectly. Fails, naming the includes of each loop, when they do not.
#   bash tools/include-layers.sh          # quiet unless there is a loop
#   bash tools/include-layers.sh --list   # every folder, lowest first, with the folders it includes
set -uo pipefail
cd "$(dirname "$0")/.."

# "from to file header", one line per include of another folder (main.cpp, in no folder, is left out).
includes() {
  grep -rE --include='*.h' --include='*.cpp' '^#include "Orza/[A-Za-z]+/' Orza |
    sed -nE 's#^Orza/([A-Za-z]+)/([^:]+):\#include "(Orza/([A-Za-z]+)/[^"]+)".*#\1 \4 Orza/\1/\2 \3#p' |
    awk '$1 != $2'
}
folders() {
  find Orza -mindepth 2 \( -name '*.h' -o -name '*.cpp' \) | cut -d/ -f2 | sort -u
}

{ folders | sed 's/^/folder /'; includes | sed 's/^/include /'; } | awk -v list="${1:-}" '
  $1 == "folder" { name[++count] = $2; next }
  { from = $2; to = $3
    if (!((from, to) in edge)) { edge[from, to] = 1; example[from, to] = $4 " includes " $5 } }
  END {
    # Which folder reaches which, through any chain of includes.
    for (i = 1; i <= count; i++) for (j = 1; j <= count; j++) reach[name[i], name[j]] = ((name[i], name[j]) in edge)
    for (k = 1; k <= count; k++) for (i = 1; i <= count; i++) if (reach[name[i], name[k]])
      for (j = 1; j <= count; j++) if (reach[name[k], name[j]]) reach[name[i], name[j]] = 1
    if (list == "--list") {
      # Lowest first: a folder comes once every folder it includes has come.
      left = count
      while (left > 0) {
        placed = 0
        for (i = 1; i <= count; i++) {
          f = name[i]; if (f in done) continue
          ready = 1
          for (j = 1; j <= count; j++) if ((f, name[j]) in edge && !(name[j] in done) && name[j] != f) ready = 0
          if (!ready) continue
          line = ""
          for (j = 1; j <= count; j++) if ((f, name[j]) in edge) line = line " " name[j]
          printf "%-12s ->%s\n", f, (line == "" ? " (nothing)" : line)
          done[f] = 1; left--; placed = 1
        }
        if (!placed) break # the rest include each other: reported below
      }
    }
    loops = 0
    for (i = 1; i <= count; i++) {
      f = name[i]; if (!reach[f, f] || (f in reported)) continue
      if (!loops++) print "Orza/ folders include each other in a loop; a folder may include only folders below it." > "/dev/stderr"
      members = ""
      for (j = 1; j <= count; j++) if (reach[f, name[j]] && reach[name[j], f]) { reported[name[j]] = 1; members = members " " name[j] }
      print "Folders in one loop:" members > "/dev/stderr"
      # The shortest way round from f, found breadth first: taking out one of its includes breaks it.
      delete parent; delete seen; head = tail = 0; queue[tail++] = f; seen[f] = 1; last = ""
      while (head < tail && last == "") {
        u = queue[head++]
        for (k = 1; k <= count && last == ""; k++) {
          v = name[k]
          if (!((u, v) in edge)) continue
          if (v == f) last = u
          else if (!(v in seen) && reach[v, f]) { seen[v] = 1; parent[v] = u; queue[tail++] = v }
        }
      }
      n = 0; for (v = last; v != f; v = parent[v]) step[++n] = v; step[++n] = f
      for (k = n; k >= 1; k--) {
        a = step[k]; b = (k == 1 ? f : step[k - 1])
        printf "  %s -> %s: %s\n", a, b, example[a, b] > "/dev/stderr"
      }
    }
    if (loops) {
      print "Take one include of each loop out: move the code to the folder it belongs in, or hand it what it needs from above." > "/dev/stderr"
      exit 1
    }
  }'
