# shellcheck shell=bash
# Shared by the package checks: skipping when a tool is missing, a temporary folder removed on
# exit, and every process started here ended by its id.
set -euo pipefail

SKIP=77
pids=()
work=$(mktemp -d "${TMPDIR:-/tmp}/tallowin-package.XXXXXX")

cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# need <tool>...: skip the check when one of the tools is not installed.
need() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed" >&2
            exit "$SKIP"
        fi
    done
}

# the_deb <folder>: the one package file cpack made there.
# A missing folder means the package was not made because its build check was skipped.
the_deb() {
    if [ ! -d "$1" ]; then
        echo "SKIP: no package was made" >&2
        exit "$SKIP"
    fi
    local debs=("$1"/tallowin_*.deb)
    [ -f "${debs[0]}" ] || fail "no package in $1"
    [ ${#debs[@]} -eq 1 ] || fail "more than one package in $1: ${debs[*]}"
    echo "${debs[0]}"
}

# expected_files <prefix> <app id> <icon sizes>...: what an installation puts under <prefix>,
# one path a line, sorted.
expected_files() {
    local prefix=$1 id=$2 size
    shift 2
    {
        echo "$prefix/bin/tallowin"
        echo "$prefix/share/man/man1/tallowin.1.gz"
        echo "$prefix/share/doc/tallowin/copyright"
        echo "$prefix/share/doc/tallowin/changelog.gz"
        echo "$prefix/share/applications/$id.desktop"
        echo "$prefix/share/metainfo/$id.metainfo.xml"
        echo "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
        for size in "$@"; do
            echo "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
        done
    } | sort
}
