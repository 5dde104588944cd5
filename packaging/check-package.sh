#!/usr/bin/env bash
# check-package.sh DEB — installs the package into a fresh minimal Debian 12 root, as a user would
# (`apt-get install ./file.deb`), checks that it works and that its files are where they belong,
# then purges it and checks that nothing of it is left. Needs root (chroot, mounts) and the Debian
# mirror. The pristine root is made once with debootstrap and kept as a tar file under
# ZORVANE_ROOT_CACHE (default /var/cache/zorvane-check); every run unpacks a fresh copy of it.
# Not part of CI: a first run takes a minute or two, later ones some 30 seconds.
set -euo pipefail

usage() {
  echo "usage: check-package.sh DEB" >&2
  exit 2
}
[ $# -eq 1 ] || usage
[ -f "$1" ] || { echo "check-package: no such file: $1" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "check-package: needs root (chroot and mounts)" >&2; exit 2; }
deb="$(realpath "$1")"
src="$(cd "$(dirname "$0")/.." && pwd)"
cache="${ZORVANE_ROOT_CACHE:-/var/cache/zorvane-check}"
mirror="${ZORVANE_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
suite=bookworm
tarball="$cache/debian12-$suite-minbase.tar"

# Unmounts everything mounted at or below a folder, deepest first.
unmount_below() {
  local dir m
  dir="$(realpath "$1")"
  awk -v d="$dir" '$5 == d || index($5, d "/") == 1 {print $5}' /proc/self/mountinfo |
    sort -r | while read -r m; do
      umount "$m" 2>/dev/null || umount -l "$m" || true
    done
}
# Removes a scratch folder once nothing is mounted in it; never crosses into another file system,
# so a mount that could not be undone keeps the host's files safe.
remove_scratch() {
  [ -n "${1:-}" ] && [ -d "$1" ] || return 0
  unmount_below "$1"
  rm -rf --one-file-system "$1"
}

work=""
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  remove_scratch "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if ! command -v debootstrap >/dev/null 2>&1; then
  echo "check-package: installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

if [ ! -f "$tarball" ]; then
  echo "== making a minimal Debian 12 root (once; kept in $tarball) =="
  mkdir -p "$cache"
  work="$(mktemp -d /var/tmp/zorvane-debootstrap.XXXXXX)"
  debootstrap --variant=minbase "$suite" "$work/root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log"; echo "check-package: debootstrap failed" >&2; exit 1; }
  unmount_below "$work/root"
  tar -C "$work/root" -cf "$tarball.part" .
  mv "$tarball.part" "$tarball"
  remove_scratch "$work"
  work=""
fi

work="$(mktemp -d /var/tmp/zorvane-check.XXXXXX)"
root="$work/root"
mkdir "$root"
tar -C "$root" -xf "$tarball"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No service may start inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
name="$(basename "$deb")"
cp "$deb" "$root/tmp/$name"

# Runs a command inside the root with a clean environment.
in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The package's paths, and which of them the fresh root has already (/usr, /usr/share/man …).
mapfile -t paths < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' | grep -v '^/\?$')
declare -A existed=()
for p in "${paths[@]}"; do
  if [ -e "$root$p" ] || [ -L "$root$p" ]; then existed[$p]=1; fi
done

echo "== apt-get install ./$name =="
in_root apt-get update -qq >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get update"; }
if ! in_root sh -c "cd /tmp && apt-get install -y ./$name" >"$work/install.log" 2>&1; then
  tail -30 "$work/install.log"
  fail "apt-get install ./$name"
  exit 1
fi
grep -E 'newly installed|^Setting up zorvane' "$work/install.log" | sed 's/^/  /' || true

echo "== checks =="
# The worked example, from /, with nothing of the source or build tree in reach.
first="$(in_root sh -c 'cd / && zorvane-cli month --birth 15.3.1980 --period 3.2000' | head -1 || true)"
if [ "$first" = "c=7291 phases=23,17,2 days=31" ]; then
  echo "  zorvane-cli from /: $first"
else
  fail "zorvane-cli from / printed '$first'"
fi

required=(
  /usr/bin/zorvane-cli
  /usr/share/applications/zorvane.desktop
  /usr/share/metainfo/org.zorvane.zorvane.metainfo.xml
  /usr/share/man/man1/zorvane.1.gz
  /usr/share/man/man1/zorvane-cli.1.gz
  /usr/share/doc/zorvane/copyright
  /usr/share/doc/zorvane/changelog.gz
)
for size in 32 48 64 128; do
  required+=("/usr/share/icons/hicolor/${size}x${size}/apps/zorvane.png")
done
# The desktop program and the help document are required once the sources have them.
if grep -qE 'add_executable\(zorvane[ )]' "$src"/src/app/CMakeLists.txt 2>/dev/null; then
  required+=(/usr/bin/zorvane)
else
  echo "  (no desktop program in these sources yet: /usr/bin/zorvane not required)"
fi
if [ -f "$src/resources/help/zorvane.html" ]; then
  required+=(/usr/share/zorvane/zorvane.html)
else
  echo "  (no help document in these sources yet: /usr/share/zorvane/zorvane.html not required)"
fi
for f in "${required[@]}"; do
  if [ -f "$root$f" ]; then echo "  present: $f"; else fail "missing: $f"; fi
done

# The installed desktop program from /: it maps its window on an X server, help opens at the
# installed document, and it ends with status 0. The X server (Xvfb) runs on the host; the root
# reaches it through the host's X socket folder, bound into its /tmp, and the host's xdotool
# drives it. The help viewer is a script in the root that records its one argument.
check_desktop_program() {
  local display n i viewer_log status
  for n in $(seq 150 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  display=":$n"
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for i in $(seq 1 100); do
    DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  mkdir -p "$root/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> /tmp/viewer.txt\n' >"$root/tmp/viewer.sh"
  chmod 755 "$root/tmp/viewer.sh"
  viewer_log="$root/tmp/viewer.txt"
  rm -f "$viewer_log"
  chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 DISPLAY="$display" \
    ZORVANE_HELP_VIEWER=/tmp/viewer.sh sh -c 'cd / && exec zorvane' \
    >"$work/zorvane.out" 2>&1 &
  local zpid=$!
  mapped() {
    local id
    for id in $(DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -F '"Zorvane":' |
      awk '{print $1}'); do
      DISPLAY="$display" xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' && return 0
    done
    return 1
  }
  for i in $(seq 1 300); do
    mapped && break
    kill -0 "$zpid" 2>/dev/null || break
    sleep 0.1
  done
  if mapped; then
    echo "  zorvane from /: its window is mapped"
    # Help with Alt+С (the input form has the keyboard once it is up), then Alt+В to end.
    for i in $(seq 1 100); do
      [ -s "$viewer_log" ] && break
      [ $((i % 20)) -eq 1 ] && DISPLAY="$display" xdotool key alt+Cyrillic_es
      sleep 0.1
    done
    local url
    url="$(head -1 "$viewer_log" 2>/dev/null || true)"
    if [ "$url" = "file:///usr/share/zorvane/zorvane.html#context-3" ]; then
      echo "  help opens: $url"
    else
      fail "help: the viewer got '${url:-nothing}', not file:///usr/share/zorvane/zorvane.html#context-3"
    fi
    DISPLAY="$display" xdotool key alt+Cyrillic_ve
  else
    fail "zorvane from /: no window ($(head -3 "$work/zorvane.out" | tr '\n' ' '))"
  fi
  status=""
  for i in $(seq 1 100); do
    if ! kill -0 "$zpid" 2>/dev/null; then
      status=0
      wait "$zpid" || status=$?
      break
    fi
    sleep 0.1
  done
  if [ "$status" = 0 ]; then
    echo "  zorvane ended with status 0"
  else
    fail "zorvane did not end with status 0 (${status:-still running}): $(head -3 "$work/zorvane.out" | tr '\n' ' ')"
    kill "$zpid" 2>/dev/null || true
    wait "$zpid" 2>/dev/null || true
  fi
  umount "$root/tmp/.X11-unix"
  rmdir "$root/tmp/.X11-unix"
  rm -f "$root/tmp/viewer.sh" "$viewer_log"
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
}
if [ -f "$root/usr/bin/zorvane" ]; then
  if command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xwininfo >/dev/null; then
    check_desktop_program
  else
    fail "Xvfb, xdotool and xwininfo are needed to try the desktop program (scripts/deps.sh)"
  fi
fi

# Every program finds all its libraries: the package's dependencies are complete.
for f in "$root"/usr/bin/zorvane*; do
  [ -f "$f" ] || continue
  exe="/usr/bin/$(basename "$f")"
  if in_root ldd "$exe" | grep -q 'not found'; then
    fail "$exe: $(in_root ldd "$exe" | grep 'not found' | tr '\n' ' ')"
  else
    echo "  libraries found: $exe"
  fi
done

echo "== apt-get remove --purge zorvane =="
if ! in_root apt-get remove --purge -y zorvane >"$work/remove.log" 2>&1; then
  tail -20 "$work/remove.log"
  fail "apt-get remove --purge zorvane"
fi
if in_root dpkg-query -W -f='${Status}\n' zorvane 2>/dev/null | grep -q .; then
  fail "dpkg still knows the package: $(in_root dpkg-query -W -f='${Status}' zorvane)"
fi
left=0
for p in "${paths[@]}"; do
  if [ -n "${existed[$p]:-}" ]; then
    [ -e "$root$p" ] || fail "removing the package took away $p, which the root had before"
    continue
  fi
  [ -e "$root$p" ] || [ -L "$root$p" ] || continue
  # A folder another installed package also uses may stay.
  if [ -d "$root$p" ] && in_root dpkg-query -S "$p" >/dev/null 2>&1; then continue; fi
  fail "left after purge: $p"
  left=$((left + 1))
done
[ "$left" -eq 0 ] && echo "  nothing of the package's ${#paths[@]} paths is left"

if [ "$failures" -gt 0 ]; then
  echo "check-package: $failures check(s) failed"
  exit 1
fi
echo "check-package: $name installs, works from / and purges cleanly"
