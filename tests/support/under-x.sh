#!/usr/bin/env bash
# Runs one test program on a private X server: Xvfb on a free display, with openbox as the
# window manager when --wm is given. As root, Chromium's sandbox is switched off for the test
# only (Chromium refuses to start as root otherwise).
set -u
wm=0
if [ "${1:-}" = "--wm" ]; then wm=1; shift; fi

display=""
for n in $(seq 90 190); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.05
done
export DISPLAY="$display"
wmpid=""
if [ "$wm" = 1 ]; then
  openbox >/dev/null 2>&1 &
  wmpid=$!
  sleep 0.5
fi
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QPA_PLATFORM=xcb

"$@"
rc=$?
[ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null
kill "$xpid" 2>/dev/null
wait 2>/dev/null
exit $rc
