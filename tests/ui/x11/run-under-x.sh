#!/bin/sh
# Runs a test program under a real X server (Xvfb) with the Openbox window manager:
#   run-under-x.sh PROGRAM [ARGS...]
# The screen is ZERIN_X_SCREEN (default 1280x1024); ZERIN_X_PANEL pixels at its bottom are kept
# from the windows, as a desktop's panel keeps them (Openbox's margin).
# Exits 77 (a skipped test for ctest) with the reason when no X server with a window
# manager can start here; otherwise exits with the program's status.
set -u

if [ "${1:-}" = "--inside" ]; then
    shift
    : >"$ZERIN_X_STARTED"
    config=$(mktemp --suffix=.xml)
    cat >"$config" <<EOF
<?xml version="1.0"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>${ZERIN_X_PANEL:-0}</bottom><left>0</left><right>0</right></margins>
</openbox_config>
EOF
    openbox --sm-disable --config-file "$config" >/dev/null 2>&1 &
    wm=$!
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 $wm 2>/dev/null; then
            echo "SKIPPED: Openbox did not start on the X server"
            kill $wm 2>/dev/null
            exit 77
        fi
        sleep 0.1
    done
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill $wm 2>/dev/null
    wait $wm 2>/dev/null
    rm -f "$config"
    exit $status
fi

for tool in xvfb-run Xvfb xauth openbox xdotool xprop xwininfo; do
    if ! command -v $tool >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
marker=$(mktemp)
rm -f "$marker"
ZERIN_X_STARTED=$marker xvfb-run -a -s "-screen 0 ${ZERIN_X_SCREEN:-1280x1024}x24 -nolisten tcp" \
    sh "$0" --inside "$@"
status=$?
if [ ! -e "$marker" ]; then
    echo "SKIPPED: the X server (Xvfb) could not start"
    exit 77
fi
rm -f "$marker"
exit $status
