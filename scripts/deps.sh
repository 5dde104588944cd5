#!/usr/bin/env bash
# Installs what building, running and testing Zorvane need on Debian 12, and only what is missing,
# then makes sure the locales the tests use exist. Safe to run again.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libx11-dev libxext-dev libxrandr-dev libxinerama-dev libfontconfig-dev libcairo2-dev libharfbuzz-dev libjpeg-dev libcups2-dev
  libpango1.0-dev
  libatk1.0-dev libatk-bridge2.0-0 at-spi2-core dbus-daemon libglib2.0-bin python3-pyatspi
  libgtest-dev libbenchmark-dev
  xvfb xdotool xclip x11-apps x11-utils x11-xserver-utils x11-xkb-utils wmctrl xauth openbox faketime
  cups cups-client cups-bsd printer-driver-cups-pdf
  fonts-liberation2 fonts-dejavu-core locales poppler-utils imagemagick python3 e2fsprogs
  desktop-file-utils appstream man-db dpkg-dev
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

need_gen=0
for loc in en_US.UTF-8 ru_RU.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qix "${loc/UTF-8/utf8}"; then
    $SUDO sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    need_gen=1
  fi
done
if [ "$need_gen" -eq 1 ]; then $SUDO locale-gen >/dev/null; fi
