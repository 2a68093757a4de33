#!/bin/sh
# Runs lumeris as a person would, on the X display of the test and a private session bus:
# files opened from several command lines become editor windows of one process, an
# unreadable file brings up an alert, presets saved from the command line reach the running
# process, and the process stays in the tray after the last window closes until it is told to
# quit.
# Usage: dbus-run-session -- sh editor-windows.sh LUMERIS
set -u
lumeris=$1
work=$(mktemp -d)
trap 'kill "$first" 2>/dev/null; rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    XDG_DATA_HOME="$work/data" TMPDIR="$work" LSAN_OPTIONS=detect_leaks=0
cd "$work" || exit 1

fail() { echo "FAIL: $*" >&2; exit 1; }
# The visible windows named like editors.
editors() {
    xdotool search --onlyvisible --name ' - Lumeris ' 2>/dev/null
}
# Waits up to 30 s for the number of editor windows to reach $1.
wait_for_editors() {
    for _ in $(seq 300); do
        [ "$(editors | wc -l)" -eq "$1" ] && return 0
        sleep 0.1
    done
    fail "expected $1 editor windows, found $(editors | wc -l)"
}

convert -size 480x300 'gradient:#2b5797-#9fc5e8' -fill white -draw 'roundrectangle 40,40 440,260 16,16' \
    -fill '#2b5797' -draw 'rectangle 80,90 400,110' -draw 'rectangle 80,140 330,160' shot.png ||
    fail "cannot draw the test pictures"
cp shot.png other.png
echo "not a picture" > notes.txt

"$lumeris" shot.png &
first=$!
wait_for_editors 1

# A second command line hands its file to the running process and ends at once.
timeout 20 "$lumeris" other.png || fail "the second lumeris did not exit with status 0"
wait_for_editors 2
kill -0 "$first" 2>/dev/null || fail "the first lumeris is gone"
for window in $(editors); do
    [ "$(xdotool getwindowpid "$window")" = "$first" ] || fail "window $window is not in process $first"
done
xdotool getwindowname "$(editors | head -1)" | grep -q '^Lumeris-.*\.png - Lumeris [0-9.]* ([0-9]*)$' ||
    fail "unexpected title: $(xdotool getwindowname "$(editors | head -1)")"

# An application address naming a file opens an editor too.
timeout 20 "$lumeris" "lumeris://openEditor?path=file://$work/other.png" ||
    fail "lumeris with an address did not exit with status 0"
wait_for_editors 3

# A preset saved from the command line reaches the running process, which would otherwise write
# its own settings back over it at its next change.
timeout 20 "$lumeris" preset save Team --set settings.padding=40 || fail "preset save refused"
"$lumeris" preset list | grep -qx Team || fail "the saved preset is not listed"
timeout 20 "$lumeris" preset delete Team || fail "preset delete refused"
"$lumeris" preset list | grep -qx Team && fail "the deleted preset is still listed"

# An unreadable file: an alert, and no editor.
timeout 20 "$lumeris" notes.txt || fail "lumeris notes.txt did not exit with status 0"
for _ in $(seq 300); do
    # A dialog of the process: the tray's own windows (the status icon's among them) are not.
    alert=$(xdotool search --onlyvisible --pid "$first" --name '' 2>/dev/null |
        while read -r window; do
            xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null |
                grep -q _NET_WM_WINDOW_TYPE_DIALOG && echo "$window"
        done | head -1)
    [ -n "$alert" ] && break
    sleep 0.1
done
[ -n "$alert" ] || fail "no alert for a file that is not an image"
[ "$(editors | wc -l)" -eq 3 ] || fail "an editor opened on a file that is not an image"

# No window manager runs: focus each window directly, then type as a person would.
xdotool windowfocus --sync "$alert" key Return
for window in $(editors); do
    xdotool windowfocus --sync "$window" key ctrl+w
    sleep 0.5
done
wait_for_editors 0
sleep 1
kill -0 "$first" 2>/dev/null || fail "lumeris ended with its last window"
gdbus call --session --dest app.lumeris.Lumeris --object-path /app/lumeris/Lumeris \
    --method org.gtk.Actions.Activate quit '[]' '{}' >/dev/null || fail "cannot ask lumeris to quit"
for _ in $(seq 600); do
    kill -0 "$first" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$first" 2>/dev/null && fail "lumeris still runs after Quit"
wait "$first" || fail "lumeris ended with status $?"
echo "PASS"
