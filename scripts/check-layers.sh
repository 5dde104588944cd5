#!/usr/bin/env bash
# check-layers.sh [ROOT] — fails when the layering of src/ is broken. The dependencies are the
# compiler's own (its -M lists every header a file reaches, through any header, by any spelling:
# `#include MACRO`, "../x.h", <x.h>), taken for every file below src/ whatever its extension, so
# nothing is judged from the include lines' text. Needs no build: one preprocessor run per file.
#  - Every folder directly below src/ is a layer with a rank: rtl < platform < frame < controls
#    < chart < report < app. A folder without a rank fails; it is never skipped.
#  - A file reaches only headers of its own layer and the layers beneath it.
#  - A layer's private headers (listed below) are reached only from inside that layer.
#  - Outside src/platform a file reaches no host header: nothing but the C and C++ standard
#    libraries and the system interface (the compiler's own headers, libc's and the kernel's),
#    libjpeg excepted in the frame's JPEG decoder (src/frame/graphics). A header the compiler
#    cannot find counts as a host header there (pango, glib, cairo ... live off the path).
# tests/, tools/, bench/ and fuzz/ may include anything.
set -uo pipefail
root="$(cd "${1:-$(dirname "$0")/..}" && pwd)"
src="$root/src"
cxx="${CXX:-c++}"
layers=(rtl platform frame controls chart report app)

# The private headers of each layer, below src/: what the layer uses inside itself and no layer
# above may reach, directly or through another header.
private_headers=(
  platform/display/DisplayBackend.h
  platform/display/WindowManager.h
  platform/display/WindowManagerInternal.h
  platform/display/X11Image.h
  platform/display/X11Keys.h
  platform/gdi/DeviceContextImpl.h
  platform/gdi/TextCache.h
  platform/gdi/TextCacheCounts.h
  platform/spool/CupsConnection.h
  platform/spool/CupsDest.h
  platform/spool/CupsLibrary.h
  platform/spool/DefaultDestination.h
  platform/stdwin/StdWinCommon.h
  platform/stdwin/StdWinPrivate.h
)


if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "check-layers: no C++ compiler ($cxx)" >&2
  exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The system interface a layer may use: the compiler's own folders (libstdc++, its intrinsics)
# whole, and from the shared folders only what libc and the kernel put there.
"$cxx" -x c++ -std=c++20 -E -v - </dev/null 2>&1 >/dev/null |
  sed -n '/^#include <...> search starts here:/,/^End of search list./p' |
  sed -n 's/^ \(.*\)$/\1/p' >"$work/search"
: >"$work/system"
if command -v dpkg-query >/dev/null 2>&1; then
  for pkg in libc6-dev linux-libc-dev; do
    dpkg-query -L "$pkg" 2>/dev/null | grep -E '\.h$' >>"$work/system"
  done
fi
have_system_list=0
[ -s "$work/system" ] && have_system_list=1

# file<TAB>dependency for every file below src/, the compiler's view; "!" when it cannot read it.
# Each worker writes a file of its own: lines written to one shared file by parallel workers
# interleave once a worker's output passes a buffer.
deps_of() {
  exec >"$WORK/deps.$BASHPID"
  for f in "$@"; do
    # shellcheck disable=SC2086 # HOSTINC is a list of options
    if out="$("$cxx" -x c++ -std=c++20 -w -M -MG -I"$SRC" $HOSTINC "$f" 2>&1)"; then
      printf '%s\n' "$out" | tr -d '\\' | tr ' \t' '\n\n' | sed '/^$/d;/:$/d' |
        awk -v f="$f" '{ print f "\t" $0 }'
    else
      printf '%s\t!%s\n' "$f" "$(printf '%s' "$out" | head -n 1)"
    fi
  done
}
export -f deps_of
# FreeType's headers name each other through macros (#include FT_FREETYPE_H) that only its own
# ft2build.h defines: a file that includes them is readable only with FreeType's folder on the
# path. What they resolve to is still judged as every header is.
HOSTINC="$(pkg-config --cflags-only-I freetype2 2>/dev/null || true)"
export SRC="$src" WORK="$work" HOSTINC cxx
find "$src" -type f ! -name 'CMakeLists.txt' ! -name '*.txt' ! -name '*.md' -print0 |
  xargs -0 -r -n 8 -P "$(nproc)" bash -c 'deps_of "$@"' _
cat "$work"/deps.* >"$work/deps"

{
  printf '%s\n' "${layers[@]}" | sed 's/^/rank /'
  printf '%s\n' "${private_headers[@]}" | sed 's/^/private /'
  sed 's/^/search /' "$work/search"
  sed 's/^/sysh /' "$work/system"
  echo "havesystem $have_system_list"
  # Every folder directly below src/ and every file there, so an empty or header-only one is
  # judged too.
  find "$src" -mindepth 1 -maxdepth 1 -type d -printf 'folder %f\n'
  find "$src" -mindepth 1 -maxdepth 1 -type f ! -name 'CMakeLists.txt' -printf 'topfile %f\n'
} >"$work/rules"

awk -v src="$src" -F '\t' '
# Collapses "." and ".." segments of an absolute path.
function norm(p,    n, parts, out, i, k) {
  n = split(p, parts, "/"); k = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] == "..") { if (k > 0) k--; continue }
    out[++k] = parts[i]
  }
  p = ""
  for (i = 1; i <= k; i++) p = p "/" out[i]
  return p
}
function fail(msg) { print "check-layers: " msg > "/dev/stderr"; failures++ }
function systemheader(dep,    d) {
  if (dep in sysh) return 1
  for (d in search)
    if (d != "/usr/include" && d != "/usr/local/include" && index(dep, d "/") == 1 &&
        d !~ /^\/usr\/include\/[^\/]+-linux-gnu$/) return 1
  # Without the packages list, the shared folders are trusted but for the known host folders.
  if (!havesystem && dep ~ /^\/usr\/include\// &&
      dep !~ /^\/usr\/include\/(X11|xcb|cairo|pango|glib|gio|gdk|gtk|atk|harfbuzz|freetype|fontconfig|cups|libpng|pixman|jpeglib|jerror|jconfig|jmorecfg|png|ft2build|zlib)/) return 1
  return 0
}
FILENAME ~ /rules$/ {
  split($0, w, " ")
  if (w[1] == "rank") rank[w[2]] = nranks++
  else if (w[1] == "private") private[w[2]] = 1
  else if (w[1] == "search") search[norm(substr($0, 8))] = 1
  else if (w[1] == "sysh") sysh[norm(substr($0, 6))] = 1
  else if (w[1] == "havesystem") havesystem = w[2]
  else if (w[1] == "folder" && !(w[2] in rank)) fail("src/" w[2] ": a folder below src/ without a layer rank")
  else if (w[1] == "topfile") fail("src/" w[2] ": a file directly in src/, in no layer")
  next
}
{
  file = $1; dep = $2
  rel = substr(file, length(src) + 2)
  layer = rel; sub(/\/.*/, "", layer)
  if (!(layer in rank)) next # its folder has failed already
  if (dep ~ /^!/) { fail("src/" rel ": the compiler cannot read it: " substr(dep, 2)); next }
  path = dep ~ /^\// ? norm(dep) : ""
  if (path != "" && norm(file) == path) next
  if (path != "" && index(path, src "/") == 1) {
    to = substr(path, length(src) + 2)
    tolayer = to; sub(/\/.*/, "", tolayer)
    if (!(tolayer in rank)) { fail("src/" rel " reaches src/" to ", in a folder without a layer rank"); next }
    if (rank[tolayer] > rank[layer]) fail("src/" rel ": layer " layer " reaches " to " of " tolayer ", a layer above it")
    else if ((to in private) && tolayer != layer)
      fail("src/" rel " reaches " to ", private to " tolayer)
    next
  }
  if (layer == "platform") next
  base = dep; sub(/.*\//, "", base)
  if (rel ~ /^frame\/graphics\// && base ~ /^(jpeglib|jerror|jconfig|jmorecfg)\.h$/) next
  if (path == "") { fail("src/" rel " reaches <" dep ">, which the compiler cannot find (a host header off the path?)"); next }
  if (!systemheader(path)) fail("src/" rel " reaches host header " path " outside src/platform")
}
END {
  if (failures > 0) { print "check-layers: " failures " violation(s)" > "/dev/stderr"; exit 1 }
}
' "$work/rules" "$work/deps" || exit 1
echo "check-layers: layers, private headers and host headers in order"
