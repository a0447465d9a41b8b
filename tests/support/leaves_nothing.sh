#!/usr/bin/env bash
# Runs a command with a private, empty $TMPDIR and fails when it leaves anything there.
# Usage: tests/support/leaves_nothing.sh <command> [argument...]
set -u
TMPDIR=$(mktemp -d)  # private (mode 0700), as pam_tmpdir and the like make it
export TMPDIR
"$@"
status=$?
left=$(ls -A "$TMPDIR")
rm -rf "$TMPDIR"
[ -z "$left" ] || { echo "left behind in the temporary folder: $left" >&2; exit 1; }
exit $status
