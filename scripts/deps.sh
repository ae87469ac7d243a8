#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need, when missing.
set -euo pipefail
pkgs=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth googletest ccache
      imagemagick x11-utils)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
