#!/usr/bin/env bash
# Installs the package built by `make deb` as a user would, without the
# packages it only recommends, and checks the installed files, not the build.
# The window is started under Xvfb inside a root that holds only the files of
# what a minimal Debian system has (its essential and required packages) and
# of what the package depends on, so a dependency missing from the package
# shows even on a machine where it happens to be installed. kadrix-batch must
# run and know the package's version. The package is removed again at the
# end, also when a check fails.
# Usage: check-deb.sh BUILD_DIR   (as root or with sudo)
set -euo pipefail

build_dir=$(realpath "${1:-build}")
debs=("$build_dir"/kadrix_*.deb)
if ((${#debs[@]} != 1)) || [ ! -f "${debs[0]}" ]; then
    echo "check-deb: expected one kadrix_*.deb in $build_dir (make deb)" >&2
    exit 1
fi
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)

if [ "$(id -u)" -ne 0 ]; then
    exec sudo bash "$0" "$@"
fi
if dpkg-query -W -f='${Status}' kadrix 2>/dev/null | grep -q "install ok installed"; then
    echo "check-deb: kadrix is installed already; remove it first (apt remove kadrix)" >&2
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=
finish() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    echo "check-deb: removing kadrix"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq kadrix >/dev/null || true
    # The root's mounts live in a namespace of their own and are gone by now;
    # should one be left, the root is kept rather than deleted through it.
    if grep -qF " $work/" /proc/self/mountinfo; then
        echo "check-deb: $work still has mounts; left in place" >&2
    else
        rm -rf --one-file-system "$work"
    fi
}
trap finish EXIT

failures=0
fail() {
    echo "check-deb: FAILED: $*" >&2
    failures=$((failures + 1))
}

echo "check-deb: installing $deb without recommended packages"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log"
[ "$(dpkg-query -W -f='${Version}' kadrix)" = "$version" ]

# The packages of the minimal root: those every Debian system has, kadrix,
# and everything they depend on, without recommendations. apt-cache prints
# each package it reaches at the start of a line; of alternatives and virtual
# packages, those installed here are taken.
mapfile -t base < <(dpkg-query -W -f='${Package} ${Essential} ${Priority}\n' |
    awk '$2 == "yes" || $3 == "required" {print $1}')
apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances kadrix "${base[@]}" | grep -v '^ ' | tr -d '<>' |
    sed 's/:.*//' | sort -u >"$work/wanted"
dpkg-query -W -f='${Package} ${Status}\n' | awk '$4 == "installed" {print $1}' | sort -u |
    comm -12 - "$work/wanted" >"$work/packages"

root=$work/root
mkdir -p "$root/tmp/.X11-unix" "$root/proc" "$root/dev"
chmod 1777 "$root/tmp"
# Folders merged into /usr (a link such as /lib -> usr/lib) are linked alike,
# and the files dpkg lists under them copied by their /usr path.
merged=()
for link in bin lib lib32 lib64 sbin; do
    if [ "$(readlink "/$link")" = "usr/$link" ]; then
        merged+=("$link")
        ln -s "usr/$link" "$root/$link"
    fi
done
xargs dpkg-query -L <"$work/packages" | while read -r path; do
    for link in "${merged[@]}"; do
        case $path in "/$link" | "/$link"/*) path=/usr$path ;; esac
    done
    echo "$path"
done | sort -u | while read -r path; do
    if [ -d "$path" ] && [ ! -L "$path" ]; then
        mkdir -p "$root$path"
    elif [ -e "$path" ] || [ -L "$path" ]; then
        printf '%s\0' "$path"
    fi
done | xargs -0 cp -a --link --parents -t "$root"
# Hard links: the root is made in seconds and takes no room; nothing in it is
# written. Then what the packages' maintainer scripts would have made.
ldconfig -r "$root"
chroot "$root" fc-cache -s >/dev/null 2>&1 || true
echo "check-deb: a root of $(wc -l <"$work/packages") packages," \
    "$(du -sh "$root" | cut -f1) in $root"

# Xvfb outside, its socket shown inside; kadrix from /usr/bin inside, in a
# plain environment: no library path, plugin path or platform from the caller.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 20 display <&3 || { echo "check-deb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display
unshare -m --propagation private bash -c '
    root=$1
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    mount --rbind /dev "$root/dev"
    mount -t proc proc "$root/proc"
    cd "$root/tmp"
    chroot "$root" /usr/bin/env -i HOME=/tmp PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" \
        /usr/bin/kadrix >kadrix.log 2>&1 &
    pid=$!
    for _ in $(seq 150); do
        xwininfo -root -tree 2>/dev/null | grep -q "\"Kadrix\"" && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.2
    done
    xwininfo -name Kadrix >window.txt 2>&1 || true
    readlink "/proc/$pid/exe" >exe.txt || true
    awk "\$6 ~ /^\\// {print \$6}" "/proc/$pid/maps" | sort -u >maps.txt || true
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null || true
' check "$root"
cd "$root/tmp"
if grep -q "Map State: IsViewable" window.txt; then
    echo "check-deb: the window opened:" $(grep -E "Width|Height" window.txt)
else
    fail "no Kadrix window: $(cat window.txt kadrix.log)"
fi
[ "$(cat exe.txt)" = "$root/usr/bin/kadrix" ] || fail "the program ran from $(cat exe.txt)"
grep -q "/qt6/plugins/platforms/libqxcb.so" maps.txt || fail "the X11 platform plugin was not loaded"
while read -r file; do
    case $file in "$root"/* | /memfd:*) ;; *) fail "maps $file from outside the root" ;; esac
done <maps.txt

chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin /usr/bin/kadrix-batch --help >/dev/null 2>&1 ||
    fail "kadrix-batch --help"
# Once kadrix-batch has --version, it must print the package's version.
if chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin /usr/bin/kadrix-batch --version \
    >version.txt 2>&1; then
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
echo "check-deb: kadrix $version installs, and starts from the installed files with its dependencies alone"
