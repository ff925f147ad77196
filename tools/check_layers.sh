#!/bin/sh
# Fails when an #include in src/ runs up a layer: model -> kit -> windows -> app. Inside the
# windows layer, a window folder reaches another only through its open*.h; the model includes
# nothing that draws.
#
# Each include is judged by the file it names, found as the compiler finds it: a quoted name
# beside the including file first, then from src/; "../kit/x.h", "sky/../kit/x.h" and
# "#  include" are all seen for what they are. An include the check cannot read (a macro), a
# symbolic link under src/ and a folder in no layer fail as well.
#
# Usage: tools/check_layers.sh [SRC]  (SRC defaults to the src/ beside tools/)

# The layers, lowest first. Every folder of src/ belongs to one of them: a new folder goes here.
model="sky catalog sites objectlist state solarsystem settings apparent lists"
kit="kit"
windows="mainwindow locationeditor printout startwindows listwindow"
app="app"

cd "${1:-$(dirname "$0")/../src}" || exit 1
fail=0

for d in */; do
    d=${d%/}
    case " $model $kit $windows $app " in
    *" $d "*) ;;
    *) echo "folder in no layer: $d/ (add it to a layer in tools/check_layers.sh)" >&2; fail=1 ;;
    esac
done
links=$(find . -type l | sed 's|^\./||')
[ -z "$links" ] || { echo "symbolic links under src/ hide what they include: $links" >&2; fail=1; }

find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort |
    xargs awk -v model="$model" -v kit="$kit" -v windows="$windows" -v app="$app" '
function layers(list, rank,   n, names, i) {
    n = split(list, names, " ")
    for (i = 1; i <= n; i++) layer[names[i]] = rank
}
BEGIN { layers(model, 1); layers(kit, 2); layers(windows, 3); layers(app, 4); bad = 0 }

# The path with "." and ".." taken out, as written (no file system).
function clean(path,   n, parts, kept, k, i, out) {
    n = split(path, parts, "/"); k = 0
    for (i = 1; i <= n; i++) {
        if (parts[i] == "" || parts[i] == ".") continue
        if (parts[i] == ".." && k > 0 && kept[k] != "..") { k--; continue }
        kept[++k] = parts[i]
    }
    out = ""
    for (i = 1; i <= k; i++) out = out (i > 1 ? "/" : "") kept[i]
    return out
}
function exists(path,   line, got) {
    got = (getline line < path)
    if (got >= 0) close(path)
    return got >= 0
}
function folder(path) { return substr(path, 1, index(path, "/") - 1) }
function report(why) { printf "%s:%d: %s\n", FILENAME, FNR, why > "/dev/stderr"; bad = 1 }

function judge(target, name,   from, to, up, down) {
    from = folder(FILENAME); to = folder(target)
    up = (from in layer) ? layer[from] : 0; down = (to in layer) ? layer[to] : 0
    if (target ~ /^\.\.(\/|$)/) { report("includes " name " from outside src/"); return }
    if (up == 1 && name ~ /^(QtWidgets|QtGui|QtPrintSupport|QWidget|QPainter|QApplication)/)
        report("the model includes " name ", which draws")
    if (up == 0 || down == 0 || from == to) return
    if (down > up)
        report("include runs up a layer: " name " (" target ")")
    else if (down == 3 && up == 3 && target !~ ("^" to "/open[a-z]*\\.h$"))
        report(from " reaches into " to ": " name " (only its open*.h)")
}

/^[ \t]*#[ \t]*include/ {
    rest = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*/, "", rest)
    open = substr(rest, 1, 1)
    shut = open == "<" ? ">" : "\""
    end = index(substr(rest, 2), shut)
    if ((open != "\"" && open != "<") || end == 0) { report("include not checked: " $0); next }
    name = substr(rest, 2, end - 1)
    beside = FILENAME; sub(/[^\/]*$/, "", beside); beside = beside name
    if (open == "\"" && exists(beside)) judge(clean(beside), name)
    else if (exists(name)) judge(clean(name), name)
    else {
        # Not there: judged both ways, so a wrong path cannot hide where it points.
        if (open == "\"") judge(clean(beside), name)
        judge(clean(name), name)
    }
}
END { exit bad }
' || fail=1

[ $fail -eq 0 ] && echo "includes run downward"
exit $fail
