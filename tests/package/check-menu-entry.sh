#!/usr/bin/env bash
# check-menu-entry.sh <deb folder> <app id>
# The desktop entry and the AppStream metadata as the package ships them: both pass their
# validators, and what they point at (program, icon, desktop file) is in the package.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
need dpkg-deb desktop-file-validate appstreamcli
deb=$(the_deb "$1") id=$2

dpkg-deb -x "$deb" "$work/root"
share="$work/root/usr/share"
desktop="$share/applications/$id.desktop"
metainfo="$share/metainfo/$id.metainfo.xml"

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $id.metainfo.xml"

key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Name)" = Tallowin ] || fail "Name is '$(key Name)'"
[ -n "$(key GenericName)" ] || fail "GenericName is missing"
[ -n "$(key Comment)" ] || fail "Comment is missing"
[ "$(key Categories)" = "Graphics;Utility;" ] || fail "Categories is '$(key Categories)'"
for word in screenshot clipboard capture; do
    tr ';' '\n' <<<"$(key Keywords)" | grep -qx "$word" || fail "Keywords lack '$word'"
done
exec_name=$(key Exec | cut -d' ' -f1)
[ -x "$work/root/usr/bin/$exec_name" ] || fail "Exec names '$exec_name', which the package does not hold"
icon=$(key Icon)
[ "$icon" = "$id" ] || fail "Icon is '$icon', expected $id"
for themed in scalable/apps/$icon.svg 48x48/apps/$icon.png; do
    [ -f "$share/icons/hicolor/$themed" ] || fail "the icon theme holds no $themed"
done

grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the metadata does not launch $id.desktop"
grep -Eq '<image>https://[^<]+/docs/screenshot\.png</image>' "$metainfo" \
    || fail "the metadata does not show docs/screenshot.png"
echo "menu entry ok"
