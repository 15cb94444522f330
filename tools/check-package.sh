#!/usr/bin/env bash
# Builds the Debian package of a finished build, has lintian look at it
# (errors fail, warnings are listed), installs it with apt-get as a user
# would, runs the installed zelkor-skin (--version, and render of an installed
# template), and removes the package again.
#
#   tools/check-package.sh BUILD_DIR VERSION
#
# Installing needs root and apt-get: without them the check is skipped
# (exit 77). A zelkor-skin-editor package that is installed already is never
# touched: the check is skipped too. Runs of several build trees on one
# machine wait for each other.
set -euo pipefail
build=$(cd "${1:?usage: check-package.sh BUILD_DIR VERSION}" && pwd)
version=${2:?version missing}
skip() { echo "check-package: skipped: $*"; exit 77; }

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v apt-get >/dev/null && command -v dpkg >/dev/null || skip "no apt-get/dpkg here"
command -v dpkg-shlibdeps >/dev/null || skip "dpkg-shlibdeps (dpkg-dev) is missing"

exec 9>/tmp/zelkor-skin-editor-package-check.lock
flock 9
if dpkg-query -W -f='${Status}' zelkor-skin-editor 2>/dev/null | grep -q "install ok installed"; then
    skip "a zelkor-skin-editor package is installed already; it is left alone"
fi

work=$(mktemp -d)
installed=false
cleanup() {
    $installed && apt-get remove -y --purge -o DPkg::Lock::Timeout=120 zelkor-skin-editor >"$work/remove.log" 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

arch=$(dpkg --print-architecture)
deb=$work/zelkor-skin-editor_${version}_${arch}.deb
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
[ -f "$deb" ] || { echo "check-package: cpack made no $deb"; ls "$work"; exit 1; }
dpkg-deb --field "$deb" Section | grep -qx graphics || { echo "check-package: section is not graphics"; exit 1; }
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || { echo "check-package: no Qt in Depends"; exit 1; }

if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
    cat "$work/lintian.log"
    if grep -q '^E: ' "$work/lintian.log"; then
        echo "check-package: lintian reports errors"
        exit 1
    fi
else
    echo "check-package: lintian is not installed; the package is not linted"
fi

apt-get install -y -o DPkg::Lock::Timeout=120 "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
installed=true
out=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/zelkor-skin --version 2>&1)
[[ "$out" == *"$version"* ]] || { echo "check-package: zelkor-skin --version said: $out"; exit 1; }
(cd "$work" && /usr/bin/zelkor-skin render /usr/share/zelkor-skin-editor/skn/240x320.mbm -o "$work/shots" --screen chat)
[ -s "$work/shots/chat.png" ] || { echo "check-package: render wrote no chat.png"; ls -R "$work/shots"; exit 1; }
[ -s /usr/share/doc/zelkor-skin-editor/copyright ] || { echo "check-package: no copyright file"; exit 1; }
echo "check-package: $(basename "$deb") installs, runs and renders"
