#!/usr/bin/env bash
# Builds Velloquin and its tests, then runs every test under Wine. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start
cd "$BUILD_DIR"
ctest --output-on-failure --timeout 600 "$@"
