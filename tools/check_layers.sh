#!/bin/sh
# Fails when an #include in src/ runs up a layer: model -> kit -> windows -> app.
# Inside the windows layer, a window folder reaches another only through its open*.h.
cd "$(dirname "$0")/../src" || exit 1
model="sky catalog sites objectlist state solarsystem settings lists"
windows="mainwindow locationeditor printout startwindows listwindow"
fail=0
bad() { echo "include runs up a layer: $1" >&2; fail=1; }
inc() { grep -Hn "#include *[\"<]\\($2\\)" $(find $1 -name '*.h' -o -name '*.cpp' 2>/dev/null) 2>/dev/null; }
winpat="mainwindow/\\|locationeditor/\\|printout/\\|startwindows/\\|listwindow/"
up="kit/\\|app/\\|$winpat"
for f in $model; do
    [ -d "$f" ] || continue
    inc "$f" "$up" | grep . && bad "$f"
    inc "$f" "QtWidgets\\|QtGui\\|QtPrintSupport\\|QWidget\\|QPainter\\|QApplication" | grep . &&
        bad "$f (draws)"
done
inc kit "app/\\|$winpat" | grep . && bad kit
for f in $windows; do
    inc "$f" "app/" | grep . && bad "$f"
    for g in $windows; do
        [ "$f" = "$g" ] && continue
        inc "$f" "$g/" | grep -v "\"$g/open[a-z]*\.h\"" | grep . && bad "$f reaches into $g"
    done
done
[ $fail -eq 0 ] && echo "includes run downward"
exit $fail
