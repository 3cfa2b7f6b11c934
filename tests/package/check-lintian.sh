#!/usr/bin/env bash
# check-lintian.sh <deb folder>
# Debian's package checker finds no error and no warning in the package, and none of its hardening
# notes (every binary built with fortified calls, stack protection, PIE and full RELRO).
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
need lintian
deb=$(the_deb "$1")

# lintian warns on its standard error when it runs as root; what it finds goes to standard output.
status=0
lintian --tag-display-limit 0 --display-info --fail-on error,warning "$deb" >"$work/tags" 2>"$work/log" \
    || status=$?
cat "$work/tags"
[ "$status" = 0 ] || fail "lintian finds errors or warnings (status $status): $(cat "$work/tags" "$work/log")"
if grep -E '^[EWI]: [^ ]+: hardening-' "$work/tags"; then
    fail "lintian finds a binary without the hardening flags"
fi
echo "lintian: no error, no warning"
