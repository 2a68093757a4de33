#!/bin/sh
# Installs Lumeris into a temporary prefix and checks it as a distribution would: the desktop
# entry and the metainfo validate, the man page renders without warnings and names exactly the
# options the program has, bash completion answers, and a copy of the prefix in another folder
# renders pictures with no way back to the source tree.
# Usage: check-install.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install: $(cat "$work/install.log")"
for file in bin/lumeris share/lumeris/web/viewer.html share/lumeris/backgrounds/sky.jpg \
    share/applications/app.lumeris.Lumeris.desktop \
    share/metainfo/app.lumeris.Lumeris.metainfo.xml \
    share/icons/hicolor/scalable/apps/app.lumeris.Lumeris.svg \
    share/icons/hicolor/symbolic/apps/app.lumeris.Lumeris-symbolic.svg \
    share/man/man1/lumeris.1 share/bash-completion/completions/lumeris \
    share/zsh/site-functions/_lumeris; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for folder in desktop man shell; do
    [ ! -e "$prefix/share/lumeris/$folder" ] || fail "share/lumeris/$folder is installed twice"
done

desktop-file-validate "$prefix/share/applications/app.lumeris.Lumeris.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/app.lumeris.Lumeris.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || fail "appstreamcli validate: $(cat "$work/appstream.log")"

# The installed copy moves away: nothing may lead back to the prefix or to the sources.
cp -a "$prefix" "$work/elsewhere" && rm -rf "$prefix" || fail "cannot copy the prefix"
lumeris=$work/elsewhere/bin/lumeris
man=$work/elsewhere/share/man/man1/lumeris.1

warnings=$(MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
# Long options as the help texts and the rendered man page spell them.
options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
"$lumeris" --help >"$work/help" && "$lumeris" render --help >>"$work/help" ||
    fail "lumeris --help"
options <"$work/help" >"$work/help-options"
MANWIDTH=200 man -E ascii -l "$man" 2>/dev/null | col -b | options >"$work/man-options"
diff "$work/help-options" "$work/man-options" >"$work/options.diff" ||
    fail "options of --help (<) and the man page (>) differ: $(cat "$work/options.diff")"

# Completion: options of render, and the setting keys the program itself lists.
completion=/usr/share/bash-completion/bash_completion
if [ -f "$completion" ]; then
    complete() {
        bash -c '. "$1"; . "$2"; shift 2; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
                 COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}; _lumeris; echo "${COMPREPLY[*]}"' \
            complete "$completion" "$work/elsewhere/share/bash-completion/completions/lumeris" "$@" \
            2>/dev/null
    }
    [ "$(complete "$lumeris" render --list)" = "--list-settings --list-sizes" ] ||
        fail "completion of --list: $(complete "$lumeris" render --list)"
    [ "$(complete "$lumeris" render --set settings.paddi)" = "settings.padding=" ] ||
        fail "completion of --set: $(complete "$lumeris" render --set settings.paddi)"
fi

# The copy renders, on its own private X server, with its own resources.
home=$work/home
mkdir -p "$home" && cd "$home" || fail "cannot make $home"
convert -size 320x200 'gradient:#2b5797-#9fc5e8' a.png && cp a.png b.png ||
    fail "cannot draw the test pictures"
run() {
    env -u LUMERIS_RESOURCES HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_CACHE_HOME="$home/cache" XDG_DATA_HOME="$home/data" LSAN_OPTIONS=detect_leaks=0 \
        "$lumeris" render --set settings.auto-redact=false "$@"
}
run -d out a.png b.png >out.txt 2>err.txt || fail "installed lumeris render: $(cat err.txt)"
[ "$(wc -l <out.txt)" -eq 2 ] || fail "expected two written paths: $(cat out.txt)"
# Not a terminal: one plain line per input.
grep -qx '\[1/2\] a.png' err.txt && grep -qx '\[2/2\] b.png' err.txt ||
    fail "expected progress lines: $(cat err.txt)"
for written in $(cat out.txt); do
    [ "$(identify -format '%m %w' "$written")" = "PNG 520" ] || fail "bad picture $written"
done
run -q -d quiet a.png b.png >out.txt 2>err.txt || fail "render --quiet: $(cat err.txt)"
[ ! -s out.txt ] && [ ! -s err.txt ] || fail "--quiet printed: $(cat out.txt err.txt)"

# Without its resources the copy says so, rather than reading the source tree.
mv "$work/elsewhere/share/lumeris" "$work/away"
run -o lost.png a.png >out.txt 2>err.txt && fail "rendered without resources"
grep -q 'resources folder' err.txt || fail "no word of the missing resources: $(cat err.txt)"
[ ! -e lost.png ] || fail "wrote a picture without resources"
echo "installed, validated and rendered from $work/elsewhere"
