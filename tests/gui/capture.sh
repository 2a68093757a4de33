#!/bin/sh
# Captures as a person would from a desktop shortcut, with a fake capture command: a capture
# opens an editor and keeps a raw copy, a cancelled one shows nothing, capture-and-copy leaves
# the framed picture on the clipboard without a window, reopen brings it back, and the
# clipboard's picture (or its lack) opens an editor (or says so).
# Usage: dbus-run-session -- sh capture.sh LUMERIS
set -u
lumeris=$1
work=$(mktemp -d)
. "$(dirname "$0")/person.sh"
# xclip serves the clipboard in the foreground (-quiet) so that it can be ended with the test.
trap 'kill "$pid" $clips 2>/dev/null; rm -rf "$work"' EXIT
use_home .
cd "$work" || exit 1
pid=
clips=
raw_count() { [ "$(ls archive/raw 2>/dev/null | wc -l)" -eq "$1" ]; }

fake_capture
mkdir -p config/lumeris
printf '{"settings.capture-command": "%s/fake-capture", "settings.screenshot-path": "%s/archive",
  "settings.auto-redact": false}\n' "$work" "$work" > config/lumeris/settings.json

# Lumeris in the tray, as the desktop's shortcuts find it; each verb below runs in it.
"$lumeris" --hidden &
pid=$!
wait_for 30 registered || fail "lumeris --hidden did not start"

touch cancel
timeout 30 "$lumeris" --capture || fail "a cancelled capture did not end with status 0"
wait_for 30 test -e cancelled || fail "the capture tool did not run"
sleep 1
editor_count 0 || fail "a cancelled capture opened an editor"
wait_for 10 sh -c "! ps -o comm= --ppid $pid | grep -q WebKitWebProces" ||
    fail "the renderer started for a cancelled capture stayed"
[ ! -e archive ] || fail "a cancelled capture made the archive folder"
rm cancel

timeout 30 "$lumeris" --capture || fail "lumeris --capture did not end with status 0"
wait_for 30 editor_count 1 || fail "no editor on the capture"
wait_for 10 raw_count 1 || fail "no raw copy of the capture in the archive"
identify -format '%wx%h' archive/raw/*.png | grep -qx 300x200 || fail "the raw copy is not the capture"
sleep 2

timeout 30 "$lumeris" --capture-copy || fail "lumeris --capture-copy did not end with status 0"
wait_for 60 png_on_clipboard || fail "no image/png on the clipboard after capture and copy"
# xdotool's search gives up on a window that closes under it: asked again until it settles.
wait_for 50 editor_count 1 || fail "capture and copy showed an editor"
raw_count 2 || fail "capture and copy kept no raw copy"
timeout 30 xclip -selection clipboard -t image/png -o > pasted.png || fail "cannot paste"
cp "$(ls archive/raw/*.png | tail -1)" captured.png
"$lumeris" render -o expected.png captured.png >/dev/null 2>&1 ||
    fail "lumeris render could not frame the capture"
[ "$(identify -format '%wx%h' pasted.png)" = "$(identify -format '%wx%h' expected.png)" ] ||
    fail "pasted $(identify -format '%wx%h' pasted.png), the framed capture is $(identify -format '%wx%h' expected.png)"

timeout 30 "$lumeris" --reopen || fail "lumeris --reopen did not end with status 0"
wait_for 30 editor_count 2 || fail "reopen did not bring the copied capture back"

xclip -quiet -selection clipboard -t image/png -i captured.png >/dev/null 2>&1 &
clips="$clips $!"
sleep 0.5
timeout 30 "$lumeris" --from-clipboard || fail "lumeris --from-clipboard did not end with status 0"
wait_for 30 editor_count 3 || fail "no editor on the clipboard's picture"

printf 'just words' | xclip -quiet -selection clipboard >/dev/null 2>&1 &
clips="$clips $!"
sleep 0.5
timeout 30 "$lumeris" --from-clipboard || fail "lumeris --from-clipboard did not end with status 0"
wait_for 30 alert_shown || fail "no alert for a clipboard without a picture"
editor_count 3 || fail "an editor opened on text"
echo "PASS"
