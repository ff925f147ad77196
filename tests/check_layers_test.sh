#!/bin/sh
# The layer check itself: on a small tree it passes the includes the layers allow and refuses
# each way round them, one at a time; then it passes the real src/.
check="$(dirname "$0")/../tools/check_layers.sh"
tree=$(mktemp -d) || exit 1
trap 'rm -rf "$tree"' EXIT
failed=0

# A tree that keeps to the layers.
for f in sky/angles.h sky/clock.h catalog/store.h kit/twips.h mainwindow/mainwindow.h \
    mainwindow/openmainwindow.h printout/printout.cpp startwindows/about.cpp app/main.cpp; do
    mkdir -p "$tree/${f%/*}" && : >"$tree/$f"
done
printf '#include "angles.h"\n#include <QString>\n// #include "kit/twips.h"\n' >"$tree/sky/clock.h"
printf '#include "../sky/angles.h"\n#  include "sky/clock.h"\n' >"$tree/catalog/store.h"
printf '#include "../mainwindow/openmainwindow.h"\n#include "kit/twips.h"\n' \
    >"$tree/printout/printout.cpp"
printf '#include "mainwindow/./openmainwindow.h"\n' >"$tree/startwindows/about.cpp"
printf '#include "mainwindow/mainwindow.h"\n#include "startwindows/../kit/twips.h"\n' \
    >"$tree/app/main.cpp"

expect() { # expect pass|fail what: runs the check on the tree
    if "$check" "$tree" >/dev/null 2>"$tree/err"; then got=pass; else got=fail; fi
    [ "$got" = "$1" ] || { echo "expected $1, got $got: $2" >&2; cat "$tree/err" >&2; failed=1; }
}
expect pass "a tree that keeps to the layers"

# Each line, added to the file, walks round the layers; the check must refuse it.
while IFS='|' read -r file line; do
    if [ -e "$tree/$file" ]; then cp "$tree/$file" "$tree/kept"; else rm -f "$tree/kept"; fi
    mkdir -p "$tree/${file%/*}"
    printf '%b\n' "$line" >>"$tree/$file"
    expect fail "$file: $line"
    if [ -e "$tree/kept" ]; then mv "$tree/kept" "$tree/$file"; else
        rm "$tree/$file" && rmdir "$tree/${file%/*}"
    fi
done <<'EOF'
sky/clock.h|#include "../kit/twips.h"
sky/clock.h|#include "sky/../mainwindow/mainwindow.h"
sky/clock.h|#  include "kit/twips.h"
sky/clock.h|\t#\tinclude\t"kit/twips.h"
sky/clock.h|#include"app/../kit/twips.h"
sky/clock.h|#include <kit/twips.h>
sky/clock.h|#include "kit/missing.h"
sky/clock.h|#include <QtWidgets/QWidget>
sky/clock.h|#define KIT "kit/twips.h"\n#include KIT
catalog/store.h|#include "./../printout/printout.cpp"
kit/twips.h|#include "../startwindows/about.cpp"
printout/printout.cpp|#include "../mainwindow/mainwindow.h"
printout/printout.cpp|#include "../app/main.cpp"
printout/printout.cpp|#include "../../outside.h"
tonight/list.h|#include "sky/clock.h"
EOF

ln -s ../kit/twips.h "$tree/sky/twips.h"
expect fail "a link under src/"
rm "$tree/sky/twips.h"
expect pass "the tree as it was"

"$check" >/dev/null || { echo "the real src/ fails the check" >&2; failed=1; }
exit $failed
