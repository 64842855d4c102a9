#!/usr/bin/env bash
# Runs one test program on a private X server: Xvfb on a free display, with openbox as the
# window manager when --wm is given. As root, Chromium's sandbox is switched off for the test
# only (Chromium refuses to start as root otherwise).
set -u
wm=0
if [ "${1:-}" = "--wm" ]; then wm=1; shift; fi

# Xvfb picks a free display itself and writes its number to fd 3, so tests running side by
# side never share a server.
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 1 200); do
  [ -s "$numfile" ] && break
  sleep 0.05
done
[ -s "$numfile" ] || { echo "Xvfb did not start" >&2; kill "$xpid" 2>/dev/null; exit 1; }
display=":$(head -n1 "$numfile" | tr -d '[:space:]')"
rm -f "$numfile"
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
