#!/usr/bin/env bash
# Installs what is missing, builds the program (not the tests) and starts Kavelin.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kavelin zorvan
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Kavelin needs a graphical desktop and none was found (DISPLAY is not set); to try it without one: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
if [ "$(id -u)" = 0 ]; then
  echo "Warning: running as root, so Chromium's sandbox is switched off for this run." >&2
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/bin/kavelin "$@"
