#!/usr/bin/env bash
# Installs every Debian package Lumeris needs to build, run and test.
# Idempotent: when everything is present it only asks dpkg and exits.
set -euo pipefail

PACKAGES=(
    g++ cmake make pkg-config
    libgtkmm-3.0-dev
    libwebkit2gtk-4.1-dev
    libtesseract-dev tesseract-ocr-eng
    libicu-dev
    nlohmann-json3-dev
    libspdlog-dev
    libpng-dev libjpeg-dev
    libayatana-appindicator3-dev
    libkeybinder-3.0-dev
    libcanberra-gtk3-dev sound-theme-freedesktop
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xclip xdotool x11-utils dbus
    desktop-file-utils appstream man-db bash-completion dpkg-dev webp-pixbuf-loader
    imagemagick
    fonts-noto-color-emoji
    clang
)

missing=()
for pkg in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"

if [[ $(id -u) -eq 0 ]]; then
    SUDO=()
elif command -v sudo >/dev/null 2>&1; then
    SUDO=(sudo)
else
    echo "install-deps: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq

unavailable=()
for pkg in "${missing[@]}"; do
    if ! apt-cache show "$pkg" >/dev/null 2>&1; then
        unavailable+=("$pkg")
    fi
done
if [[ ${#unavailable[@]} -gt 0 ]]; then
    echo "install-deps: not available from the configured package sources: ${unavailable[*]}" >&2
    echo "install-deps: Lumeris is built on Debian 12 (bookworm) or newer; enable its main archive." >&2
    exit 1
fi

"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
