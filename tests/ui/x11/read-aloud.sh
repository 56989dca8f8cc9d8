#!/bin/sh
# Runs read-aloud.py on zerin in a D-Bus session of its own: read-aloud.sh ZERIN.
# Exits 77 (skipped) with the reason when what the accessibility bus needs is missing.
set -u
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "SKIPPED: dbus-run-session is not installed (scripts/install-deps.sh installs it)"
    exit 77
fi
exec dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/read-aloud.py" "$1"
