#!/bin/sh
# Runs one test program on an X server of its own, so that programs run side by side never
# share a clipboard, keyboard focus, window activation or a drag. The server picks a free
# display number itself (-displayfd), so parallel starts cannot collide.
# Usage: owndisplay.sh PROGRAM [ARGUMENTS...]
numberfile=$(mktemp) || exit 1
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberfile" 2>/dev/null &
server=$!
cleanup() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -f "$numberfile"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
tries=0
until [ -s "$numberfile" ]; do
    tries=$((tries + 1))
    if ! kill -0 "$server" 2>/dev/null || [ "$tries" -gt 400 ]; then
        echo "owndisplay.sh: the X server did not start" >&2
        exit 1
    fi
    sleep 0.025
done
DISPLAY=":$(head -n 1 "$numberfile")" "$@"
