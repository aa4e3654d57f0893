#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine (ctest's cross-compiling emulator).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec "$WINE64" "$@"
