#!/usr/bin/env bash
# check-install.sh SOURCE_DIR BUILD_DIR
# Installs the build into a temporary prefix and checks what lands there: exactly the expected
# files, a valid desktop entry, AppStream metadata and manual pages, icons of the size their
# folder names, zorvane-cli working from /, and no path of the build folder in the installed
# programs. Run by CTest; takes a few seconds.
set -uo pipefail
src="$(cd "$1" && pwd)"
build="$(cd "$2" && pwd)"
has_program="$(cat "$build/packaging/has-desktop-program" 2>/dev/null || echo 0)"
instrumented="$(cat "$build/packaging/instrumented" 2>/dev/null || echo 0)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" --strip >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

# The files an installation must hold.
expected=(
  bin/zorvane-cli
  share/applications/zorvane.desktop
  share/metainfo/org.zorvane.zorvane.metainfo.xml
  share/man/man1/zorvane.1.gz
  share/man/man1/zorvane-cli.1.gz
  share/doc/zorvane/copyright
  share/doc/zorvane/changelog.gz
)
for size in 32 48 64 128; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/zorvane.png")
done
if [ "$has_program" = 1 ]; then expected+=(bin/zorvane); fi
if [ -f "$src/resources/help/zorvane.html" ]; then expected+=(share/zorvane/zorvane.html); fi

for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
# Anything else is a surprise, but for the help document's own pages and pictures.
while IFS= read -r f; do
  case " ${expected[*]} " in *" $f "*) continue ;; esac
  case "$f" in share/zorvane/*) continue ;; esac
  fail "unexpected file installed: $f"
done < <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)

# Desktop entry, metadata, manual pages.
desktop-file-validate "$prefix/share/applications/zorvane.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.zorvane.zorvane.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "appstreamcli validate"; }
for page in zorvane zorvane-cli; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man page $page.1: $warnings"
done

# Each icon is as large as its folder says (the PNG header's width and height).
for size in 32 48 64 128; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/zorvane.png"
  [ -f "$png" ] || continue
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  w=$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))
  h=$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon ${size}x${size} is ${w}x${h}"
done

# The installed command line program works from / and prints the worked example.
first="$(cd / && "$prefix/bin/zorvane-cli" month --birth 15.3.1980 --period 3.2000 | head -1)"
[ "$first" = "c=7291 phases=23,17,2 days=31" ] || fail "zorvane-cli from /: '$first'"

# An installed program must not depend on the tree it was built from. Nothing may name the build
# folder; the source folder may appear only as a fallback for running uninstalled (help document
# beside the sources), so it is shown, not refused — the fresh-root check runs with no tree.
# A sanitizer build cannot pass: its descriptors of global variables name every compiled file by
# the path the compiler was given, the generated resource sources' in the build folder included,
# and no prefix map reaches them. It is never packaged (package.sh makes a build of its own), so
# there the check is left to the builds that can be.
if [ "$instrumented" = 1 ]; then
  echo "note: sanitizer build; the build folder check is left to uninstrumented builds"
fi
for exe in "$prefix"/bin/*; do
  if [ "$instrumented" != 1 ] && grep -qaF "$build" "$exe"; then
    fail "$(basename "$exe") names the build folder: $(strings -a "$exe" | grep -F "$build" | head -3 | tr '\n' ' ')"
  fi
  if grep -qaF "$src" "$exe"; then
    echo "note: $(basename "$exe") names the source folder: $(strings -a "$exe" | grep -F "$src" | head -3 | tr '\n' ' ')"
  fi
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed files: ${#expected[@]} checked, all present and valid"
