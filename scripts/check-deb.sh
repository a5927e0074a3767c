#!/usr/bin/env bash
# Installs the package built by `make deb` as a user would, without the
# packages it only recommends, and checks the installed files, not the build:
# the window opens under Xvfb through the X11 platform plugin, every file the
# running program maps comes from the package or its dependencies, and
# kadrix-batch runs and knows the package's version. The package is removed
# again at the end, also when a check fails.
# Usage: check-deb.sh BUILD_DIR
set -euo pipefail

build_dir=$(realpath "${1:-build}")
debs=("$build_dir"/kadrix_*.deb)
if ((${#debs[@]} != 1)) || [ ! -f "${debs[0]}" ]; then
    echo "check-deb: expected one kadrix_*.deb in $build_dir (make deb)" >&2
    exit 1
fi
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
if dpkg-query -W -f='${Status}' kadrix 2>/dev/null | grep -q "install ok installed"; then
    echo "check-deb: kadrix is installed already; remove it first (apt remove kadrix)" >&2
    exit 1
fi

work=$(mktemp -d)
remove_package() {
    echo "check-deb: removing kadrix"
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get purge -y -qq kadrix >/dev/null || true
    rm -rf "$work"
}
trap remove_package EXIT

echo "check-deb: installing $deb without recommended packages"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "$deb" | tee "$work/apt.log"
[ "$(dpkg-query -W -f='${Version}' kadrix)" = "$version" ]

failures=0
fail() {
    echo "check-deb: FAILED: $*" >&2
    failures=$((failures + 1))
}

# Every package the installed one may bring with it: its dependencies and
# theirs, without recommendations (alternatives and virtual packages count).
# apt-cache prints each package it reaches at the start of a line.
apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances kadrix | grep -v '^ ' | tr -d '<>' | sed 's/:.*//' |
    sort -u >"$work/closure"

# The window, from /usr/bin, in a plain environment in an empty folder: no
# library path, plugin path or platform from the caller.
cd "$work"
env -i HOME="$work" PATH=/usr/bin:/bin LANG=C.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c '
        /usr/bin/kadrix & pid=$!
        for _ in $(seq 100); do
            xwininfo -root -tree 2>/dev/null | grep -q "\"Kadrix\"" && break
            sleep 0.2
        done
        xwininfo -name Kadrix >window.txt 2>&1 || true
        readlink /proc/$pid/exe >exe.txt || true
        awk "\$6 ~ /^\\// {print \$6}" /proc/$pid/maps | sort -u >maps.txt || true
        kill $pid 2>/dev/null
        wait $pid 2>/dev/null || true
    '
if grep -q "Map State: IsViewable" window.txt; then
    echo "check-deb: the window opened: $(grep -E 'Width|Height' window.txt | tr -s ' ' | tr '\n' ' ')"
else
    fail "no Kadrix window: $(cat window.txt)"
fi
[ "$(cat exe.txt)" = /usr/bin/kadrix ] || fail "the program ran from $(cat exe.txt)"

grep -q "/qt6/plugins/platforms/libqxcb.so" maps.txt || fail "the X11 platform plugin was not loaded"
unowned=()
while read -r file; do
    case $file in "$build_dir"/* | "$work"/*) fail "maps $file"; continue ;; esac
    owner=$(dpkg-query -S "$file" 2>/dev/null || dpkg-query -S "${file#/usr}" 2>/dev/null || true)
    if [ -z "$owner" ]; then
        unowned+=("$file")
        continue
    fi
    package=${owner%%:*}
    package=${package%%,*}
    grep -qx "$package" closure || fail "$file comes from $package, which kadrix does not depend on"
done <maps.txt
echo "check-deb: $(wc -l <maps.txt) mapped files, all from kadrix's dependencies" \
    "(${#unowned[@]} generated files: ${unowned[*]:-none})"

env -i PATH=/usr/bin:/bin /usr/bin/kadrix-batch --help >help.txt 2>&1 || fail "kadrix-batch --help"
# Once kadrix-batch has --version, it must print the package's version.
if env -i PATH=/usr/bin:/bin /usr/bin/kadrix-batch --version >version.txt 2>&1; then
    grep -qF "${version%-*}" version.txt || fail "kadrix-batch --version says $(cat version.txt)"
fi
for file in /usr/share/doc/kadrix/copyright /usr/share/doc/kadrix/changelog.Debian.gz \
    /usr/share/man/man1/kadrix.1.gz /usr/share/man/man1/kadrix-batch.1.gz \
    /usr/share/bash-completion/completions/kadrix-batch \
    /usr/share/zsh/vendor-completions/_kadrix-batch; do
    [ -f "$file" ] || fail "$file is missing"
done

if ((failures)); then
    exit 1
fi
echo "check-deb: kadrix $version installs, starts and runs from the installed files"
