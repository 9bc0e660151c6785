#!/usr/bin/env bash
# Runs a Windows executable under Wine in the project's prefix (ctest uses
# this as the emulator of the cross builds).
set -e
source "$(dirname "$0")/wine-env.sh"
tarnwick_wine_prefix
exec "$TARNWICK_WINE" "$@"
