# Sourced by the end-to-end scripts: how a person waits, looks and types. The script sets $work
# (its temporary folder) and $pid (the Lumeris it watches); a failure shows the end of
# $HOME/console.txt when Lumeris writes there.
fail() {
    echo "FAIL: $*" >&2
    [ -f "$HOME/console.txt" ] && tail -20 "$HOME/console.txt" >&2
    exit 1
}
wait_for() { # seconds, command…
    limit=$(($1 * 10)); shift
    for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
    return 1
}
use_home() { # name: a home of its own under $work
    export HOME="$work/$1" XDG_CONFIG_HOME="$work/$1/config" XDG_CACHE_HOME="$work/$1/cache" \
        XDG_DATA_HOME="$work/$1/data" TMPDIR="$work/$1" LSAN_OPTIONS=detect_leaks=0
    mkdir -p "$HOME"
}
# A capture command in $HOME/fake-capture: a 300 × 200 picture into its last argument; while
# $HOME/cancel exists, none, and $HOME/cancelled says it ran.
fake_capture() {
    printf '%s\n' '#!/bin/sh' 'for last; do :; done' \
        '[ -e "$HOME/cancel" ] && touch "$HOME/cancelled" && exit 1' \
        "convert -size 300x200 xc:'#2b5797' -fill white -draw 'rectangle 30,30 270,170' \"\$last\"" \
        > "$HOME/fake-capture" && chmod +x "$HOME/fake-capture"
}
action() { # name: activates an action of the running Lumeris over the bus
    gdbus call --session --dest app.lumeris.Lumeris --object-path /app/lumeris/Lumeris \
        --method org.gtk.Actions.Activate "$1" '[]' '{}' >/dev/null
}
registered() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner app.lumeris.Lumeris 2>/dev/null | grep -q true
}
# Editor windows on the screen (the capture-and-copy editor stands beyond it).
editors() {
    for window in $(xdotool search --onlyvisible --name ' - Lumeris ' 2>/dev/null); do
        # A window closing between the search and this question has no geometry: not on screen.
        X=-1 Y=-1
        eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null)"
        [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && echo "$window"
    done
}
editor() { editors | head -1; }
editor_count() { [ "$(editors | wc -l)" -eq "$1" ]; }
alert() { # a dialog window of $pid
    for window in $(xdotool search --onlyvisible --pid "$pid" --name '' 2>/dev/null); do
        xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG &&
            echo "$window" && return 0
    done
}
alert_shown() { [ -n "$(alert)" ]; }
gone() { ! xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"; }
png_on_clipboard() {
    timeout 5 xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -q image/png
}
# window key command…: no window manager runs, so the window is focused directly. Under load a
# key can arrive before the focus does; like a person, it is pressed again until the command
# sees its effect (at most three times).
press() {
    window=$1 key=$2; shift 2
    for _ in 1 2 3; do
        timeout 10 xdotool windowfocus --sync "$window" key "$key" 2>/dev/null
        wait_for 15 "$@" && return 0
    done
    return 1
}
