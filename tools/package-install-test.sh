#!/bin/bash
# Installs the Debian package on a fresh Debian 12 root and runs the programs there: a minbase
# bookworm made by debootstrap, `apt-get install ./kestrel_*.deb` with its dependencies from the
# mirror, then kestrel-cli --version, kestrel-cli help, kestrel --help (offscreen), and a virtual
# card made by kestrel-sim read and printed by kestrel-cli. Any failure exits non-zero; the root is
# unmounted and removed in every case (KEEP_ROOT=1 keeps it for a look).
# Needs root and debootstrap. Not part of `make test` (it downloads some 200 MB).
# Usage: tools/package-install-test.sh [path/to/kestrel_VERSION_ARCH.deb]
#        MIRROR=http://deb.debian.org/debian (default)
set -euo pipefail

deb=${1:-$(ls -t build/kestrel_*.deb 2>/dev/null | head -n 1)}
mirror=${MIRROR:-http://deb.debian.org/debian}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "No package given and none in build/ (run make package)" >&2; exit 1; }
[ "$(id -u)" = 0 ] || { echo "Needs root (debootstrap, chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "debootstrap is missing: apt-get install debootstrap" >&2; exit 1; }

root=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-root.XXXXXX")
chmod 755 "$root" # apt's own user reads below it

cleanup() {
    local status=$?
    # Everything mounted below the root, deepest first, before anything is removed.
    local m
    for m in $(findmnt -R -n -l -o TARGET --target "$root" 2>/dev/null | grep "^$root/" | sort -r); do
        umount "$m" 2>/dev/null || umount -l "$m" || true
    done
    if findmnt -R -n -l -o TARGET --target "$root" 2>/dev/null | grep -q "^$root/"; then
        echo "Still mounted below $root: left in place" >&2
    elif [ "${KEEP_ROOT:-0}" = 1 ]; then
        echo "Root kept in $root"
    else
        rm -rf --one-file-system "$root"
    fi
    if [ "$status" = 0 ]; then echo "Install test passed"; else echo "Install test FAILED ($status)"; fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

step() { echo; echo "== $*"; }
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

step "debootstrap bookworm (minbase) from $mirror into $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 20 "$root.debootstrap.log"; rm -f "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount -t tmpfs tmp "$root/tmp"
# Services the packages bring (pcscd) are not started inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
cp "$deb" "$root/tmp/"

step "apt-get install ./$(basename "$deb")"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" >"$root/tmp/apt.log" 2>&1 ||
    { tail -n 40 "$root/tmp/apt.log"; exit 1; }
grep -E '^(Setting up|Unpacking) kestrel|newly installed' "$root/tmp/apt.log"
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' kestrel

step "kestrel-cli --version"
in_root kestrel-cli --version
step "kestrel-cli help"
in_root kestrel-cli help
step "kestrel --help (QT_QPA_PLATFORM=offscreen)"
in_root env QT_QPA_PLATFORM=offscreen kestrel --help

step "a virtual card: kestrel-sim new, kestrel-cli phonebook read and print info"
in_root kestrel-sim new /tmp/card.json
# The standard card's PIN1 comes on standard input, as a script would give it.
echo 1234 | in_root kestrel-cli --device VIRTUAL:/tmp/card.json phonebook read --pin - >"$root/tmp/book.json"
entries=$(grep -c '"name"' "$root/tmp/book.json" || true)
echo "$entries phone book entries read"
[ "$entries" -gt 0 ]
echo 1234 | in_root kestrel-cli --device VIRTUAL:/tmp/card.json print info --pdf /tmp/info.pdf --pin -
[ -s "$root/tmp/info.pdf" ]

step "manual pages and completions in place"
for f in /usr/share/man/man1/kestrel.1.gz /usr/share/man/man1/kestrel-cli.1.gz \
    /usr/share/man/man1/kestrel-sim.1.gz /usr/share/bash-completion/completions/kestrel-cli \
    /usr/share/bash-completion/completions/kestrel-sim /usr/share/mime/packages/kestrel.xml \
    /usr/share/metainfo/io.github.kestrel.Kestrel.metainfo.xml /usr/share/applications/kestrel.desktop; do
    [ -f "$root$f" ] || { echo "missing: $f"; exit 1; }
done
echo "all present"
