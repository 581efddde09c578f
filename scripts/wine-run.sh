#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix (see scripts/wine-env.sh).
# Used by ctest as the cross-compiling emulator, so it needs the environment that
# scripts/wine-session.sh sets up; without it, it falls back to the test prefix in build/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
exec "$KESTRO_WINE" "$@"
