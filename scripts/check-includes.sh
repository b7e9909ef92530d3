#!/usr/bin/env bash
# Draws the project's structure from its #include lines and checks the two rules it keeps:
# every arrow points down the layers (ui -> cli -> export -> settings -> data), and no class
# (a .h/.cpp pair) reaches itself again through its includes.
# Usage: scripts/check-includes.sh [SOURCE_DIR] [--quiet]
# Prints the folder arrows, any arrow that runs up and any circle; exits 1 on either.
set -euo pipefail

root=$(dirname "$0")/..
quiet=
for arg in "$@"; do
  case "$arg" in
    --quiet) quiet=--quiet ;;
    *) root=$arg ;;
  esac
done
cd "$root"

# The product's floors, lowest first; tools/, tests/, bench/ and fuzz/ stand above them all.
rank() {
  case "$1" in
    data) echo 1 ;; settings) echo 2 ;; export) echo 3 ;; cli) echo 4 ;; ui) echo 5 ;;
    *) echo 6 ;;
  esac
}

folders=(data settings export cli ui tools tests bench fuzz)
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT

# One line per include of a file of the tree: "from-class to-class", a class being the path
# without its extension, so that a .cpp and its header are one node.
for f in $(find "${folders[@]}" -name '*.h' -o -name '*.cpp' 2>/dev/null | sort); do
  sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$f" |
    while read -r inc; do
      [ -f "$inc" ] || continue
      echo "${f%.*} ${inc%.*}"
    done
done | awk '$1 != $2' | sort -u >"$edges"

status=0

if [ "$quiet" != --quiet ]; then
  echo "Folder arrows (classes that include across folders):"
  awk '{ split($1, a, "/"); split($2, b, "/"); if (a[1] != b[1]) print a[1] " -> " b[1] }' "$edges" |
    sort | uniq -c | sort -k2,2 -k4,4
fi

up=$(while read -r from to; do
  ff=${from%%/*} tf=${to%%/*}
  [ "$ff" = "$tf" ] && continue
  if [ "$(rank "$tf")" -gt "$(rank "$ff")" ]; then echo "  $from -> $to"; fi
done <"$edges")
if [ -n "$up" ]; then
  echo "Arrows that run up the layers (ui -> cli -> export -> settings -> data):"
  echo "$up"
  status=1
fi

# tsort names the members of every circle it meets on its standard error.
circles=$(tsort "$edges" 2>&1 >/dev/null | sed -n 's/^tsort: //p' | grep -v 'input contains a loop' || true)
if [ -n "$circles" ]; then
  echo "Classes in a circle of includes:"
  echo "$circles" | sed 's/^/  /'
  status=1
fi

[ $status -eq 0 ] && [ "$quiet" != --quiet ] && echo "No arrow runs up, and no circle."
exit $status
