#!/bin/sh
# Checks a built Debian package (make package-check runs it on the newest build/kestrel_*.deb):
# lintian must report no error (E:); the installed desktop entry, AppStream metainfo, file types,
# manual pages and completions must pass their own validators. Warnings are printed and kept.
# Needs lintian, appstream, desktop-file-utils, shared-mime-info, groff-base.
# Usage: tools/check-package.sh path/to/kestrel_VERSION_ARCH.deb
set -eu

deb=${1:?usage: $0 kestrel_VERSION_ARCH.deb}
[ -f "$deb" ] || { echo "$deb: no such file" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrel-check.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
failed=0
fail() { echo "FAIL: $*"; failed=1; }
pass() { echo "ok: $*"; }

echo "== lintian $deb"
# --pedantic shows every hint; only errors fail the check.
lintian --display-info --pedantic "$deb" >"$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then
    fail "lintian reports errors"
else
    pass "lintian: no errors ($(grep -c '^W: ' "$work/lintian.txt" || true) warnings)"
fi

echo "== contents"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -f "$deb" Package Version Depends Recommends Suggests
root=$work/root/usr/share

for f in "$root/applications/kestrel.desktop"; do
    if desktop-file-validate "$f"; then pass "desktop-file-validate ${f#"$work/root"}"; else fail "desktop-file-validate $f"; fi
done

for f in "$root"/metainfo/*.metainfo.xml; do
    if appstreamcli validate --no-net --explain "$f"; then
        pass "appstreamcli validate ${f#"$work/root"}"
    else
        fail "appstreamcli validate $f"
    fi
done

# The file types compile into a MIME database, and each type's icon is there in every size.
mkdir -p "$work/mime/packages"
cp "$root/mime/packages/kestrel.xml" "$work/mime/packages/"
if XDG_DATA_DIRS=$work update-mime-database "$work/mime" >"$work/mime.log" 2>&1 &&
    ! grep -q . "$work/mime.log" && grep -q 'application/x-kestrel-backup:\*\.sim' "$work/mime/globs2"; then
    pass "update-mime-database kestrel.xml"
else
    cat "$work/mime.log"
    fail "update-mime-database kestrel.xml"
fi
for type in $(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$root/mime/packages/kestrel.xml"); do
    icon=$(echo "$type" | tr / -)
    for dir in "$root"/icons/hicolor/*/; do
        [ -n "$(find "$dir" -path "*/mimetypes/$icon.*")" ] || fail "$type: no icon in $dir"
    done
done
pass "file type icons present"

for page in "$root"/man/man1/*.1.gz; do
    # -ww: every warning; the text itself goes nowhere.
    if out=$(zcat "$page" | groff -ww -man -z 2>&1) && [ -z "$out" ]; then
        pass "groff -ww -man ${page#"$work/root"}"
    else
        echo "$out"
        fail "man page $page"
    fi
done

for script in "$root"/bash-completion/completions/*; do
    if bash -n "$script"; then pass "bash -n ${script#"$work/root"}"; else fail "completion $script"; fi
done

if [ "$failed" = 0 ]; then
    echo "Package checks passed: $deb"
else
    echo "Package checks FAILED: $deb"
fi
exit "$failed"
