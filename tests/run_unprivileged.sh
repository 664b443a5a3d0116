#!/bin/sh
# Runs a test binary with its arguments as a user without privileges: as it
# is when not root, else as nobody. Exits 77 (skipped) when nobody cannot
# reach the binary or setpriv is missing.
if [ "$(id -u)" != 0 ]; then
    exec "$@"
fi
command -v setpriv >/dev/null 2>&1 || exit 77
nobody="setpriv --reuid=65534 --regid=65534 --clear-groups"
$nobody test -x "$1" || exit 77
exec $nobody env HOME=/tmp "$@"
