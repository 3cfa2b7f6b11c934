#!/usr/bin/env bash
# check-control.sh <deb folder> <version>
# The package's control record: name, version, architecture, section, maintainer, a summary and a
# longer description, and a Depends line that names the package of every library the program
# links to (worked out from the binary, so nothing is missing when the code gains a library).
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
need dpkg-deb dpkg objdump ldd
deb=$(the_deb "$1") version=$2

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tallowin ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', expected $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
field Maintainer | grep -Eq '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"

description=$(field Description)
summary=$(head -n1 <<<"$description")
if [ -z "$summary" ] || [ ${#summary} -gt 80 ]; then
    fail "the summary line is empty or too long: '$summary'"
fi
[ "$(wc -l <<<"$description")" -ge 2 ] || fail "there is no long description"
if awk 'NR > 1 && length($0) > 80 { bad = 1 } END { exit !bad }' <<<"$description"; then
    fail "the long description has lines over 80 characters"
fi

depends=$(field Depends)
[ -n "$depends" ] || fail "the package has no Depends line"
names=$(tr ',' '\n' <<<"$depends" | sed -E 's/^ *([^ (]+).*/\1/')
if grep -E -- '-dev$' <<<"$names"; then
    fail "the package depends on development packages"
fi

dpkg-deb -x "$deb" "$work/root"
program="$work/root/usr/bin/tallowin"
sonames=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$sonames" ] || fail "the program links to no shared library?"
resolved=$(ldd "$program")
for soname in $sonames; do
    # A library resolves as "name => path"; the dynamic loader (needed for thread-local storage)
    # is listed by its path alone.
    path=$(awk -v so="$soname" '($1 == so && $2 == "=>") { print $3 } ($1 ~ ("/" so "$")) { print $1 }' <<<"$resolved")
    [ -n "$path" ] || fail "$soname does not resolve on this machine"
    # With a merged /usr the loader's path and the one dpkg recorded may differ by the /usr prefix.
    owner=""
    for candidate in "$path" "/usr${path#/usr}" "${path#/usr}" "$(readlink -f "$path")"; do
        # A diverted file is listed first as "diversion by <package> from/to: ..."; its owner
        # is on the line of the form "<package>[:<arch>]: <path>".
        owner=$(dpkg -S "$candidate" 2>/dev/null | grep -v '^diversion by ' | head -n1 | cut -d: -f1) &&
            [ -n "$owner" ] && break
    done
    [ -n "$owner" ] || fail "no installed package holds $path ($soname)"
    grep -qx "$owner" <<<"$names" || fail "Depends lacks $owner (for $soname): $depends"
done
echo "Depends: $depends"
