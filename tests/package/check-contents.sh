#!/usr/bin/env bash
# check-contents.sh <deb folder> <app id> <icon sizes>...
# The package holds exactly the program, its manual page, copyright and changelog, its menu entry,
# its metadata and its icon in every size, all under /usr, owned by root, with the modes a package should have; the PNGs are the sizes
# their folders promise and the program is stripped.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
need dpkg-deb file
deb=$(the_deb "$1") id=$2
shift 2

listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | sort)
wanted=$(expected_files ./usr "$id" "$@")
[ "$actual" = "$wanted" ] || fail "files differ from the expected list:
$(diff <(echo "$wanted") <(echo "$actual") || true)"

while read -r mode owner _ _ _ path _; do
    [ "$owner" = root/root ] || fail "$path is owned by $owner"
    case "$path" in
        ./usr/ | ./usr/*) ;;
        *) fail "$path lies outside /usr" ;;
    esac
    case "$mode:$path" in
        d*) want=drwxr-xr-x ;;
        *:./usr/bin/*) want=-rwxr-xr-x ;;
        *) want=-rw-r--r-- ;;
    esac
    [ "$mode" = "$want" ] || fail "$path has mode $mode, expected $want"
done <<<"$listing"

dpkg-deb -x "$deb" "$work/root"
for size in "$@"; do
    png="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    file -b "$png" | grep -q "^PNG image data, $size x $size," \
        || fail "$png is not a ${size}x$size PNG: $(file -b "$png")"
done
file -b "$work/root/usr/share/icons/hicolor/scalable/apps/$id.svg" | grep -q SVG \
    || fail "the scalable icon is not an SVG"
file -b "$work/root/usr/bin/tallowin" | grep -q 'ELF.*, stripped' \
    || fail "the program is not a stripped executable: $(file -b "$work/root/usr/bin/tallowin")"
echo "contents ok"
