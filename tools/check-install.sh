#!/usr/bin/env bash
# Installs a finished build the way a package build does (a prefix below a
# temporary DESTDIR) and checks what arrived: the layout, the desktop entry
# and the metainfo with their validators, the file type with
# update-mime-database, and the installed programs, started from where they
# landed, which is not the prefix they were installed for.
#
#   tools/check-install.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=${1:?usage: check-install.sh BUILD_DIR APP_ID VERSION}
id=${2:?app id missing}
version=${3:?version missing}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
prefix="/opt/zelkor skin editor"
DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >"$root/install.log"
p="$root$prefix"

total=0
failed=0
# check MESSAGE COMMAND...: runs the command; counts it, and reports MESSAGE when it fails.
check() {
    local message=$1
    shift
    total=$((total + 1))
    if ! "$@" >"$root/check.log" 2>&1; then
        cat "$root/check.log" >&2
        echo "check-install: $message" >&2
        failed=$((failed + 1))
    fi
}
# says_version PROGRAM: PROGRAM --version, without a display, names $version.
says_version() {
    local out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$1" --version 2>&1) && [[ "$out" == *"$version"* ]] \
        || { echo "$1 --version: $out"; return 1; }
}

expected=(
    bin/zelkor-skin-editor
    lib/zelkor-skin-editor/bmconv
    share/zelkor-skin-editor/icons.bmp
    share/zelkor-skin-editor/icons32.bmp
    share/zelkor-skin-editor/guide/index.html
    share/zelkor-skin-editor/guide/pictures/main.png
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/mime/packages/$id.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/zelkor-skin-editor.1.gz
    share/man/man1/bmconv.1.gz
)
# thumbnail_as_file_manager: the Exec line of the installed thumbnailer entry,
# its %i, %o and %s each replaced by one whole argument (a path with blanks
# and Cyrillic, the output, 128), run with the installed bin/ on PATH, as a
# file manager runs it; the thumbnail must be a PNG no larger than 128.
thumbnail_as_file_manager() {
    local entry="$p/share/thumbnailers/$id.thumbnailer" exec_line word args=()
    exec_line=$(sed -n 's/^Exec=//p' "$entry")
    grep -q '^MimeType=.*image/x-symbian-mbm;' "$entry" || { echo "no image/x-symbian-mbm in $entry"; return 1; }
    local in="$root/мой скин.mbm" out="$root/thumbnail out.png"
    cp "$p/share/zelkor-skin-editor/skn/176x208.mbm" "$in"
    for word in $exec_line; do
        case $word in
            %i) args+=("$in") ;;
            %o) args+=("$out") ;;
            %s) args+=(128) ;;
            *) args+=("$word") ;;
        esac
    done
    env -u DISPLAY -u WAYLAND_DISPLAY PATH="$p/bin:/usr/bin:/bin" "${args[@]}" || return 1
    # The PNG signature, then the header's width and height, big-endian.
    [ "$(head -c 8 "$out" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || { echo "$out is no PNG"; return 1; }
    local w h
    read -r w h < <(od -An -tu1 -j16 -N8 "$out" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$h" -eq 128 ] && [ "$w" -gt 0 ] && [ "$w" -le 128 ] || { echo "thumbnail is $w x $h"; return 1; }
}
for label in 176x208 208x176 240x320 320x240 352x416 416x352; do
    expected+=(share/zelkor-skin-editor/skn/$label.mbm share/zelkor-skin-editor/devices/$label.jpg)
done
for size in 16 22 24 32 48 64 128 256; do
    expected+=(share/icons/hicolor/${size}x${size}/apps/$id.png)
done
built_cli=false
if [ -e "$build/program/zelkor-skin" ] || [ -e "$p/bin/zelkor-skin" ]; then
    built_cli=true
    expected+=(bin/zelkor-skin share/man/man1/zelkor-skin.1.gz share/thumbnailers/$id.thumbnailer)
fi
for f in "${expected[@]}"; do
    check "not installed: $f" test -f "$p/$f"
done
# An installed copy is only read: no working folder goes with it.
check "the working folder temp/ was installed" test ! -e "$p/share/zelkor-skin-editor/temp"

check "desktop-file-validate rejects the desktop entry" desktop-file-validate "$p/share/applications/$id.desktop"
check "appstreamcli rejects the metainfo" appstreamcli validate --no-net "$p/share/metainfo/$id.metainfo.xml"
check "update-mime-database rejects the file type" update-mime-database "$p/share/mime"
check "update-mime-database did not register image/x-symbian-mbm" test -s "$p/share/mime/image/x-symbian-mbm.xml"

check "the installed zelkor-skin-editor --version" says_version "$p/bin/zelkor-skin-editor"
if $built_cli; then
    check "the installed zelkor-skin --version" says_version "$p/bin/zelkor-skin"
    # Reading a skin needs the converter and the data, found from bin/.
    check "the installed zelkor-skin cannot read an installed template" \
        "$p/bin/zelkor-skin" info "$p/share/zelkor-skin-editor/skn/240x320.mbm"
    check "a file manager cannot make a thumbnail with the installed thumbnailer" thumbnail_as_file_manager
fi

echo "$((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
