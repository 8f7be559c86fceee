#!/usr/bin/env bash
# Builds the Debian package, checks it (lintian, desktop-file-validate,
# appstreamcli), installs it, runs the installed programs as a user would
# (from /usr/bin, with a fresh home folder) and removes it again. The machine
# is left as it was: the package is removed, the home folder deleted.
# Needs root (or sudo) for dpkg.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh lintian desktop-file-utils appstream dpkg-dev fakeroot
scripts/build.sh -DHARVANE_WERROR=ON

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
if dpkg-query -W -f='${Status}' harvane 2>/dev/null | grep -q 'install ok installed'; then
  echo "package-test: a harvane package is installed already; not touching it" >&2
  exit 1
fi

rm -f build/harvane_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/harvane_*.deb)
echo "== $deb"
dpkg-deb --field "$deb" Depends

desktop-file-validate packaging/org.harvane.Harvane.desktop
appstreamcli validate --no-net --pedantic packaging/org.harvane.Harvane.metainfo.xml || \
  appstreamcli validate --no-net packaging/org.harvane.Harvane.metainfo.xml
lintian --fail-on error,warning "$deb"

home=$(mktemp -d)
cleanup() {
  "${sudo[@]}" dpkg -r harvane >/dev/null 2>&1 || true
  rm -rf "$home"
}
trap cleanup EXIT
"${sudo[@]}" dpkg -i "$deb"

export HOME="$home"
unset HARVANE_DATA_DIR XDG_DATA_HOME
test "$(/usr/bin/harvane --version)" = "Harvane 1.3.0"
test "$(/usr/bin/harvane-cli --version)" = "harvane-cli 1.3.0"
# The installed tool reads the simulated logger and writes its report into
# the user's own data folder, never beside itself.
/usr/bin/harvane-cli --port sim:logger status >/dev/null
ls "$home"/.local/share/Harvane/StatusLogCollar/StatusLogCollar_*.txt
test ! -e /usr/bin/StatusLogCollar
# The help lies in the share folder, where the installed program looks.
test -f /usr/share/harvane/help/Zorvath.qhc -a -f /usr/share/harvane/help/hlp/Zorvath.qhc
test -f /usr/share/harvane/help/harvane.qhc
# The desktop program starts with its simulated devices and keeps running
# until it is closed (here: by the time-out).
set +e
QT_QPA_PLATFORM=offscreen timeout 8 /usr/bin/harvane --demo --port sim:logger
status=$?
set -e
if [ "$status" -ne 124 ]; then
  echo "package-test: harvane --demo ended early with status $status" >&2
  exit 1
fi
test ! -e /usr/bin/ReadData
echo "package-test: the package installs, runs from /usr/bin and is removed again"
