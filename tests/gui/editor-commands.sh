#!/bin/sh
# Saves and copies from an editor as a person would, with the real clipboard read by another
# program. Usage: dbus-run-session -- sh editor-commands.sh LUMERIS
set -u
lumeris=$1
work=$(mktemp -d)
. "$(dirname "$0")/person.sh"
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
use_home .
cd "$work" || exit 1
saved_png() { ls saved/*.png >/dev/null 2>&1; }
# The window, once its document has loaded (its title is set before). The first command line
# starts the Lumeris that stays; later ones hand it their file.
open_editor() {
    "$lumeris" shot.png &
    [ -n "${pid:-}" ] || pid=$!
    wait_for 30 editor_count 1 || fail "no editor window"
    sleep 3
}

mkdir -p config/lumeris
printf '{"settings.save-path": "%s/saved", "settings.auto-redact": false}\n' "$work" \
    > config/lumeris/settings.json
convert -size 300x200 xc:'#2b5797' -fill white -draw 'rectangle 30,30 270,170' shot.png ||
    fail "cannot draw the test picture"

open_editor
press "$(editor)" ctrl+s saved_png || fail "ctrl+s wrote nothing into the save folder"
wait_for 20 editor_count 0 || fail "the editor stayed open after saving"
saved=$(identify -format '%wx%h' saved/*.png)
kill -0 "$pid" 2>/dev/null || fail "lumeris left the tray when its only window closed"

open_editor
press "$(editor)" ctrl+c png_on_clipboard || fail "no image/png on the clipboard"
kill -0 "$pid" 2>/dev/null || fail "lumeris ended while it owns the clipboard"
timeout 30 xclip -selection clipboard -t image/png -o > pasted.png || fail "cannot paste"
pasted=$(identify -format '%wx%h' pasted.png)
[ "$pasted" = "$saved" ] || fail "pasted $pasted, saved $saved"
[ "$saved" != "300x200" ] || fail "the saved picture is the bare screenshot"
echo "PASS ($saved)"
