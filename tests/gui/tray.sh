#!/bin/sh
# The tray application as a person meets it, on the X display of the test and a private session
# bus: a key held by another program brings the conflict alert; the first launch shows the
# preferences, a second `lumeris` brings them back; with a status item host on the bus the item
# registers and its menu lists the entries; a factory reset leaves one instance with defaults.
# Usage: dbus-run-session -- sh tray.sh LUMERIS FAKE-STATUS-NOTIFIER-WATCHER
set -u
lumeris=$1
watcher=$2
work=$(mktemp -d)
. "$(dirname "$0")/person.sh"
cleanup() {
    for process in ${pid:-} ${holder:-} ${watcher_pid:-} ${holder_bus:-}; do
        kill "$process" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1

preferences() { xdotool search --onlyvisible --name '^Preferences$' 2>/dev/null | head -1; }
preferences_shown() { [ -n "$(preferences)" ]; }
preferences_hidden() { [ -z "$(preferences)" ]; }
# The console lines of the Lumeris of the current home (the log file is written in batches).
logged() { grep -q "$1" "$HOME/console.txt" 2>/dev/null; }

# Another program holds Ctrl+Alt+Super+4: a Lumeris of another session bus, without a window.
use_home holder
mkdir -p "$HOME/config/lumeris"
echo '{"settings.hide-window-at-launch": true}' > "$HOME/config/lumeris/settings.json"
holder_address=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 > bus.txt &&
    head -1 bus.txt)
holder_bus=$(sed -n 2p bus.txt)
DBUS_SESSION_BUS_ADDRESS=$holder_address "$lumeris" > "$HOME/console.txt" 2>&1 &
holder=$!
wait_for 30 logged 'Grabbed <Primary><Alt><Super>4' || fail "the first Lumeris grabbed no key"

use_home person
mkdir -p "$HOME/config/lumeris"
fake_capture
printf '{"settings.padding": 42, "settings.capture-command": "%s/fake-capture",
  "settings.auto-redact": false}\n' "$HOME" > "$HOME/config/lumeris/settings.json"
"$lumeris" > "$HOME/console.txt" 2>&1 &
pid=$!
wait_for 30 alert_shown || fail "no conflict alert for a key another program holds"
wait_for 10 logged 'Ctrl+Alt+Super+4 is held by another program' ||
    fail "the alert is not the conflict alert"
press "$(alert)" Return gone "$(alert)" || fail "the conflict alert stayed after OK"
action quit
wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Quit did not end lumeris"
kill "$holder"; wait "$holder" 2>/dev/null; holder=

"$watcher" > watcher.txt &
watcher_pid=$!
"$lumeris" > "$HOME/console.txt" 2>&1 &
pid=$!

# First launch: the preferences window.
wait_for 30 preferences_shown || fail "the first launch shows no preferences window"

# The status item registered with the host, and its menu lists the entries.
wait_for 30 grep -q . watcher.txt || fail "the status item did not register"
read -r sender item < watcher.txt
menu=$(gdbus call --session --dest "$sender" --object-path "$item" \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu |
    sed -n "s/.*objectpath '\([^']*\)'.*/\1/p")
[ -n "$menu" ] || fail "the status item exports no menu"
layout=$(gdbus call --session --dest "$sender" --object-path "$menu" \
    --method com.canonical.dbusmenu.GetLayout -- 0 -1 '[]')
for entry in 'Take Screenshot (Ctrl+Alt+Super+4)' 'Capture Window' 'Open File…' \
    'Open from Clipboard' 'Reopen Last Closed' 'Screenshot Archives' '(Empty)' 'Zoom In' \
    'Smart Text Wrap' 'Preferences…' 'Hide Windows' 'Acknowledgements' 'Factory Reset…' \
    'Quit Lumeris'; do
    printf '%s' "$layout" | grep -qF "'$entry'" || fail "the menu lacks '$entry'"
done
[ "$(printf '%s' "$layout" | grep -oF "'(Empty)'" | wc -l)" -eq 5 ] ||
    fail "the menu should hold five empty text entries"

# The capture key opens an editor on the fake tool's picture.
xdotool key ctrl+alt+super+4
wait_for 30 editor_count 1 || fail "Ctrl+Alt+Super+4 opened no editor"

# Hidden, then a second plain `lumeris` brings the preferences back and ends.
action hide
wait_for 10 preferences_hidden || fail "Hide left the preferences open"
wait_for 10 editor_count 0 || fail "Hide left the editor open"
timeout 20 "$lumeris" || fail "the second lumeris did not exit with status 0"
wait_for 10 preferences_shown || fail "a second lumeris did not bring the preferences back"
kill -0 "$pid" || fail "the first lumeris is gone"

# Factory reset: confirmed, it starts again in the same process with the defaults.
padding() { sed -n 's/.*"settings.padding": *\([0-9.]*\).*/\1/p' "$HOME/config/lumeris/settings.json" | sed "s/\\.0*$//"; }
[ "$(padding)" = "42" ] || fail "padding before the reset: $(padding)"
action hide
action factory-reset
wait_for 10 alert_shown || fail "no confirmation before the factory reset"
press "$(alert)" Return logged 'Factory reset; starting again' || fail "the factory reset did not start again"
wait_for 30 preferences_shown || fail "after the reset no preferences window"
kill -0 "$pid" || fail "the process that was reset is gone"
owner=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID app.lumeris.Lumeris |
    sed -n 's/.*uint32 \([0-9]*\).*/\1/p')
[ "$owner" = "$pid" ] || fail "app.lumeris.Lumeris is owned by $owner, not the reset process $pid"
[ "$(padding)" = "100" ] || fail "padding after the reset: $(padding)"

action quit
wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || fail "Quit did not end lumeris"
echo "PASS"
