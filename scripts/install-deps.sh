#!/usr/bin/env bash
# Installs what Kavelin needs to build, run and test on Debian 12, when something is missing.
set -eu
packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libqt6opengl6-dev
  libx11-dev libxtst-dev
  xvfb xauth openbox xdotool wmctrl x11-utils imagemagick dbus-daemon
  fonts-dejavu-core fonts-liberation2 fonts-wine ca-certificates
  dpkg-dev file desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" != 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
