#!/usr/bin/env bash
# package.sh — builds the Debian package: a Release build of its own in build-package/ (the
# project's usual warnings and errors, no tests or benchmarks), then `cpack -G DEB`, then lintian.
# Prints the package's path last; the exit status is non-zero when the build fails or lintian
# reports an error.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
if ! command -v lintian >/dev/null 2>&1; then
  echo "package: installing lintian"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends lintian >/dev/null
fi

dir=build-package
jobs="${ZORVANE_JOBS:-$(nproc)}"
# Debian's hardening flags, which also map this checkout's path to "." so that no path of it ends
# up in the programs; no debug information, since the package is stripped. Linking only the
# libraries a program uses keeps its dependencies to what it needs.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
export DEB_CFLAGS_MAINT_STRIP="-g" DEB_CXXFLAGS_MAINT_STRIP="-g"
cppflags="$(dpkg-buildflags --get CPPFLAGS)"
cflags="$(dpkg-buildflags --get CFLAGS) $cppflags"
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $cppflags"
ldflags="$(dpkg-buildflags --get LDFLAGS) -Wl,--as-needed"
# The project's Release flags (-O3) after Debian's, and warnings as errors as in every build of
# ours: the package is built from code that compiles clean.
# (-U drops a per-configuration flag an older configure of the folder may have cached.)
args=(-DCMAKE_BUILD_TYPE=Release -UCMAKE_C_FLAGS_RELEASE -UCMAKE_CXX_FLAGS_RELEASE
      -DZORVANE_TESTS=OFF -DZORVANE_BENCH=OFF -DZORVANE_WERROR=ON
      "-DCMAKE_C_FLAGS=$cflags" "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags"
      "-DCMAKE_STRIP=$PWD/packaging/strip.sh")
if command -v ccache >/dev/null 2>&1; then
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja "${args[@]}" >/dev/null
cmake --build "$dir" -j "$jobs"
# What the package will hold, checked as an installation first (files, entries, icons, manuals).
bash packaging/check-install.sh . "$dir"

rm -f "$dir"/zorvane_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log"; exit 1; }
deb="$(ls "$dir"/zorvane_*.deb)"

echo "== lintian =="
lintian --info --display-info "$deb" | tee "$dir/lintian.log" || true
if grep -q '^E:' "$dir/lintian.log"; then
  echo "package: lintian reports errors" >&2
  exit 1
fi
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
echo "$PWD/$deb"
