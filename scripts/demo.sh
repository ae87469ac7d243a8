#!/usr/bin/env bash
# Builds Velloquin and starts it under Wine on the demo network.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
echo "The main window is not built yet; this command will start it once it is." >&2
exit 1
