#!/usr/bin/env bash
# check-menu-entry.sh <deb folder> <app id> <version>
# The desktop entry and the AppStream metadata as the package ships them: both pass their
# validators, the entry sits in one menu, the metadata names the licences, the developer and this
# release, and what they point at (program, icon, desktop file) is in the package.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
need dpkg-deb desktop-file-validate appstreamcli
deb=$(the_deb "$1") id=$2 version=$3

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
# One main category, so the entry shows in one menu only.
main_categories=$(tr ';' '\n' <<<"$(key Categories)" \
    | grep -Ex 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility' \
    || true)
[ "$main_categories" = Graphics ] || fail "the main categories are '${main_categories//$'\n'/;}', not Graphics alone"
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
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metadata does not name the MIT licence"
grep -q '<metadata_license>CC0-1.0</metadata_license>' "$metainfo" || fail "the metadata's own licence is not CC0-1.0"
grep -Eq '<developer id="[^"]+">' "$metainfo" || fail "the metadata names no developer"
release=$(grep -Eo '<release version="[^"]+" date="[0-9]{4}-[0-9]{2}-[0-9]{2}"' "$metainfo" | head -n1)
[[ "$release" == "<release version=\"$version\""* ]] \
    || fail "the first release in the metadata is '$release', not version $version with a date"
grep -Eq '<image>https://[^<]+/docs/screenshot\.png</image>' "$metainfo" \
    || fail "the metadata does not show docs/screenshot.png"
echo "menu entry ok"
