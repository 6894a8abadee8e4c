#!/bin/sh
# Renders the PNG icons the package installs from their SVG drawings:
#   resources/kestrel.svg                        -> resources/icons/hicolor/NxN/apps/kestrel.png
#   resources/icons/mimetypes/application-*.svg  -> resources/icons/hicolor/NxN/mimetypes/*.png
# The PNGs are committed; run this again after changing a drawing (needs librsvg2-bin):
#   rsvg-convert -w N -h N -o OUT.png IN.svg
set -eu
cd "$(dirname "$0")/.."
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2; exit 1; }

sizes="16 22 24 32 48 64 128 256"
render() { # svg folder name
    for n in $sizes; do
        out="resources/icons/hicolor/${n}x${n}/$2"
        mkdir -p "$out"
        rsvg-convert -w "$n" -h "$n" -o "$out/$3.png" "$1"
    done
}

render resources/kestrel.svg apps kestrel
for svg in resources/icons/mimetypes/*.svg; do
    render "$svg" mimetypes "$(basename "$svg" .svg)"
done
echo "Icons written to resources/icons/hicolor/"
