#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kadrix need.
# Only missing packages are installed, so a ready machine pays one dpkg query.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
    # kadrix-batch's translations: Qt's lupdate and lrelease
    qt6-tools-dev qt6-l10n-tools
    libjpeg62-turbo-dev libexif-dev qt6-image-formats-plugins
    # HEIF sources; libheif1 brings its HEVC and AV1 decoders and encoders
    libheif-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # the bench's references: libjpeg-turbo's own tools, vips, hyperfine
    libjpeg-turbo-progs libvips-tools hyperfine
    xvfb xauth fonts-liberation
    # the install test's validators, and `make deb` (dpkg-shlibdeps, file)
    desktop-file-utils appstream dpkg-dev file
    # the README's pictures: a real X server and a small window manager
    openbox x11-utils
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
