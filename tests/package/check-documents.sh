#!/usr/bin/env bash
# check-documents.sh <deb folder> <version>
# What a user and Debian's tools read besides the program: the manual page renders without a
# warning and names this version, the changelog's latest entry is this version, the copyright file
# is machine-readable and grants the MIT (Expat) licence, and the program says the same version.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
need dpkg-deb man gzip
deb=$(the_deb "$1") version=$2

dpkg-deb -x "$deb" "$work/root"
doc="$work/root/usr/share/doc/tallowin"
page="$work/root/usr/share/man/man1/tallowin.1.gz"

# As lintian renders it: every groff or man warning counts.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) \
    || fail "man cannot render the page: $warnings"
[ -z "$warnings" ] || fail "man warns about the page: $warnings"
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null)
grep -Eq '^ +tallowin +- ' <<<"$rendered" || fail "the page's NAME line is not 'tallowin - ...'"
for option in --help --version --pause --resume --toggle --status; do
    grep -q -- "$option" <<<"$rendered" || fail "the page does not describe $option"
done
grep -q "tallowin $version" <<<"$rendered" || fail "the page does not name version $version"

top=$(gzip -dc "$doc/changelog.gz" | head -n1)
[[ "$top" == "tallowin ($version) "* ]] || fail "the changelog's latest entry is '$top', not version $version"

head -n1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || fail "the copyright file is not in the machine-readable format"
grep -qx 'License: Expat' "$doc/copyright" || fail "the copyright file does not grant the Expat (MIT) licence"

said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/tallowin" --version | head -n1)
[ "$said" = "tallowin $version" ] || fail "the program says '$said', not 'tallowin $version'"
echo "documents ok"
