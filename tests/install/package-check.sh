#!/usr/bin/env bash
# Makes the Debian package from a build folder and checks it as a user meets it: its files, its
# dependencies, its menu entry and metainfo, and the program started from the unpacked package
# in a folder it cannot write to, which must keep its settings and profile in the user's folders
# and write nowhere else. Runs on an X server with a window manager:
#   tests/support/under-x.sh --wm tests/install/package-check.sh build
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
check() { echo "PASS: $*"; }
app=cz.kavelin.Kavelin

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack did not make the package"; }
deb=$(echo "$work"/out/kavelin_*.deb)

# What the package holds.
expected="./usr/bin/kavelin
./usr/lib/kavelin/libzorvan.so
./usr/share/applications/$app.desktop
./usr/share/icons/hicolor/128x128/apps/$app.png
./usr/share/icons/hicolor/16x16/apps/$app.png
./usr/share/icons/hicolor/256x256/apps/$app.png
./usr/share/icons/hicolor/32x32/apps/$app.png
./usr/share/icons/hicolor/48x48/apps/$app.png
./usr/share/icons/hicolor/64x64/apps/$app.png
./usr/share/icons/hicolor/scalable/apps/$app.svg
./usr/share/kavelin/kavelin.txt
./usr/share/metainfo/$app.metainfo.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "the package's files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$files"))"
check "file list"

# What it depends on: the libraries it links, found in the binaries, and what it needs without
# linking: the web engine's helper process, the X11 platform plugin, Tahoma.
depends=$(dpkg-deb -f "$deb" Depends)
names=$(echo "$depends" | tr ',' '\n' | sed -E 's/^ *//; s/[ (].*//')
for needed in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6webenginecore6 libqt6webenginewidgets6 \
              libqt6webenginecore6-bin libx11-6 libxtst6 qt6-qpa-plugins fonts-wine; do
  echo "$names" | grep -qx -- "$needed" || fail "Depends lacks $needed: $depends"
done
check "Depends: $depends"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
check "menu entry and metainfo"

# The program, started from the unpacked package as another user would start an installed
# copy: its folder is not writable, its user's folders are empty but for settings that an
# older copy left beside the program and a temporary file of a write that never finished.
home="$work/home"
mkdir -p "$home/config/Kavelin" "$home/data" "$home/cache" "$home/runtime" "$work/cwd"
printf '[pozice]\nprihoz-x=12\nprihoz-y=34\n' >"$root/usr/bin/nastaveni.ini"
stray="$home/config/Kavelin/nastaveni.ini.tmp-999999999"
echo "half written" >"$stray"
chmod -R a-w "$root"
chmod 700 "$home/runtime"
chmod 755 "$work"
run=(env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
     XDG_RUNTIME_DIR="$home/runtime" "$root/usr/bin/kavelin")
if [ "$(id -u)" = 0 ]; then
  # Root writes anywhere: the program runs as an ordinary user, as an installed copy would.
  chown -R 65534:65534 "$home" "$work/cwd"
  run=(setpriv --reuid=65534 --regid=65534 --clear-groups "${run[@]}")
fi
snapshot() { (cd "$work" && find root cwd -printf '%p %s %T@ %m\n' | LC_ALL=C sort); }
before=$(snapshot)

(cd "$work/cwd" && exec "${run[@]}") >"$work/program.log" 2>&1 &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kavelin$' 2>/dev/null | head -n1) || true
[ -n "$window" ] || { cat "$work/program.log" >&2; fail "the main window did not appear"; }
xprop -id "$window" _NET_WM_ICON | head -n2 | grep -q "Icon (" || fail "the window shows no icon"
class=$(xprop -id "$window" WM_CLASS | sed -E 's/.*= "([^"]*)".*/\1/')
grep -qx "StartupWMClass=$class" "$root/usr/share/applications/$app.desktop" ||
  fail "the menu entry's StartupWMClass does not name the window's class $class"
check "window with its icon"

settings="$home/config/Kavelin/nastaveni.ini"
profile="$home/data/Kavelin/cache"
[ -f "$settings" ] && grep -qx "prihoz-x=12" "$settings" || fail "the settings beside the program were not carried over"
[ ! -e "$stray" ] || fail "the stray temporary in the settings folder is still there"
[ -f "$profile/kavelin.lock" ] || fail "no profile with its lock in $profile: $(ls -R "$home")"
check "settings and profile in the user's folders"

wmctrl -ic "$window"
for _ in $(seq 1 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end when its window was closed"
rc=0; wait "$pid" || rc=$?
pid=""
[ "$rc" = 0 ] || { cat "$work/program.log" >&2; fail "exit code $rc"; }

after=$(snapshot)
[ "$before" = "$after" ] || fail "the program wrote into its own folder or the current directory:
$(diff <(echo "$before") <(echo "$after"))"
[ ! -e "$profile/kavelin.lock" ] || fail "the lock stayed behind"
others=$(cd "$home" && ls -A | grep -vx -e config -e data -e cache -e runtime || true)
[ -z "$others" ] || fail "the program wrote into the home folder: $others"
check "nothing written beside the program or in the current directory"
echo "1 passed, 0 failed"
