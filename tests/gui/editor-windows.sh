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
. "$(dirname "$0")/person.sh"
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
use_home .
cd "$work" || exit 1
wait_for_editors() {
    wait_for 30 editor_count "$1" || fail "expected $1 editor windows, found $(editors | wc -l)"
}

convert -size 480x300 'gradient:#2b5797-#9fc5e8' -fill white -draw 'roundrectangle 40,40 440,260 16,16' \
    -fill '#2b5797' -draw 'rectangle 80,90 400,110' -draw 'rectangle 80,140 330,160' shot.png ||
    fail "cannot draw the test pictures"
cp shot.png other.png
echo "not a picture" > notes.txt

"$lumeris" shot.png &
pid=$!
wait_for_editors 1

# A second command line hands its file to the running process and ends at once.
timeout 20 "$lumeris" other.png || fail "the second lumeris did not exit with status 0"
wait_for_editors 2
kill -0 "$pid" 2>/dev/null || fail "the first lumeris is gone"
for window in $(editors); do
    [ "$(xdotool getwindowpid "$window")" = "$pid" ] || fail "window $window is not in process $pid"
done
xdotool getwindowname "$(editor)" | grep -q '^Lumeris-.*\.png - Lumeris [0-9.]* ([0-9]*)$' ||
    fail "unexpected title: $(xdotool getwindowname "$(editor)")"

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
wait_for 30 alert_shown
alert=$(alert)
[ -n "$alert" ] || fail "no alert for a file that is not an image"
[ "$(editors | wc -l)" -eq 3 ] || fail "an editor opened on a file that is not an image"

press "$alert" Return gone "$alert" || fail "the alert stayed after Return"
for window in $(editors); do
    press "$window" ctrl+w gone "$window" || fail "editor $window stayed after ctrl+w"
done
wait_for_editors 0
# Nor does any renderer process stay behind: the editors' ended with them, the spare with the last.
wait_for 10 sh -c "! ps -o comm= --ppid $pid | grep -q WebKitWebProces" ||
    fail "a web process stayed with no editor open"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "lumeris ended with its last window"
action quit || fail "cannot ask lumeris to quit"
wait_for 60 sh -c "! kill -0 $pid 2>/dev/null" || fail "lumeris still runs after Quit"
wait "$pid" || fail "lumeris ended with status $?"
echo "PASS"
