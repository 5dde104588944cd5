#!/usr/bin/env bash
# check-layers.sh [ROOT] — fails when the layering of src/ is broken:
#  - a layer includes a layer above it (rtl < platform < frame < controls < chart < report < app);
#  - a host library header (X11, cairo, pango, fontconfig, glib, atk, cups, libjpeg ...) is included
#    outside src/platform. The one exception is libjpeg in the frame's JPEG decoder
#    (src/frame/graphics).
# tests/, tools/, bench/ and fuzz/ may include anything. Includes are resolved as the compiler
# would: next to the including file first, then below src/, so "../chart/x.h" counts too.
set -uo pipefail
root="$(cd "${1:-$(dirname "$0")/..}" && pwd)"
src="$root/src"
layers=(rtl platform frame controls chart report app)

declare -A rank_of
for i in "${!layers[@]}"; do rank_of[${layers[$i]}]=$i; done

# Host headers by their include path.
host_re='^(X11/|xcb/|cairo[-./]|cairo$|pango/|pangocairo|fontconfig/|glib[-./]|glib$|gio/|gobject/|gmodule|atk/|at-spi2-atk/|atspi/|dbus/|cups/|harfbuzz/|hb[-.]|ft2build\.h|freetype/|pixman|jpeglib\.h|jerror\.h|jconfig\.h|jmorecfg\.h|png\.h|GL/)'
jpeg_re='^(jpeglib|jerror|jconfig|jmorecfg)\.h$'

include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'

failures=0
report() {
  echo "check-layers: $1" >&2
  failures=$((failures + 1))
}

while IFS= read -r -d '' file; do
  rel="${file#"$src"/}"
  layer="${rel%%/*}"
  own="${rank_of[$layer]:--1}"
  [ "$own" -lt 0 ] && continue
  dir="$(dirname "$file")"
  # Lines like: #include "frame/TReader.h"  or  # include <cairo.h>
  while IFS=: read -r line text; do
    [[ "$text" =~ $include_re ]] || continue
    kind=angle
    [ "${BASH_REMATCH[1]}" = '"' ] && kind=quote
    inc="${BASH_REMATCH[2]}"
    where="src/$rel:$line"
    if [[ "$inc" =~ $host_re ]] && [ "$layer" != platform ]; then
      if [[ "$inc" =~ $jpeg_re ]] && [[ "$rel" == frame/graphics/* ]]; then
        :
      else
        report "$where: host header <$inc> outside src/platform"
      fi
      continue
    fi
    # Which layer does the include land in?
    target=""
    if [ "$kind" = quote ] && [ -e "$dir/$inc" ]; then
      target="$(realpath -m "$dir/$inc")"
    elif [ -e "$src/$inc" ]; then
      target="$(realpath -m "$src/$inc")"
    fi
    [[ "$target" == "$src"/* ]] || continue
    to="${target#"$src"/}"
    to="${to%%/*}"
    other="${rank_of[$to]:--1}"
    if [ "$other" -gt "$own" ]; then
      report "$where: layer $layer includes \"$inc\" of $to, a layer above it"
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.c' -o -name '*.inc' \) -print0)

if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures violation(s)" >&2
  exit 1
fi
echo "check-layers: layers and host headers in order"
