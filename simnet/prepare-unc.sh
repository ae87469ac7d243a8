#!/usr/bin/env bash
# Usage: prepare-unc.sh DESCRIPTION.ini UNC-ROOT
# Links the folder of every share that has a dir= key at UNC-ROOT/COMPUTER/SHARE, which Wine
# serves as \\COMPUTER\SHARE (the prefix's dosdevices/unc points at UNC-ROOT). Wine finds these
# names whatever their case, so an existing entry that differs only in case is reused rather than
# doubled.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 DESCRIPTION.ini UNC-ROOT" >&2
    exit 2
fi
ini=$1
unc=$2
base=$(cd "$(dirname "$ini")" && pwd)
mkdir -p "$unc"

# Prints the entry of $1 named $2 regardless of case, or $1/$2 when there is none.
entry_ci() {
    local dir=$1 name=$2 e b lower
    lower=${name,,}
    for e in "$dir"/* "$dir"/.[!.]*; do
        [ -e "$e" ] || [ -L "$e" ] || continue
        b=${e##*/}
        if [ "${b,,}" = "$lower" ]; then
            printf '%s\n' "$e"
            return
        fi
    done
    printf '%s/%s\n' "$dir" "$name"
}

# One "COMPUTER<TAB>SHARE<TAB>DIR" line per share section with a non-empty dir=.
shares=$(awk '
    function trim(s) { sub(/^[ \t\r]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
    function flush() { if (computer != "" && share != "" && dir != "") print computer "\t" share "\t" dir }
    /^[ \t]*[;#]/ { next }
    /^[ \t]*\[/ {
        flush(); computer = ""; share = ""; dir = ""
        h = trim($0); h = substr(h, 2, length(h) - 2); h = trim(h)
        if (tolower(substr(h, 1, 5)) == "share" && match(h, /^[A-Za-z]+[ \t]+/)) {
            path = substr(h, RLENGTH + 1); gsub(/\\/, "/", path)
            i = index(path, "/")
            if (i > 0) { computer = trim(substr(path, 1, i - 1)); share = trim(substr(path, i + 1)) }
        }
        next
    }
    /=/ {
        i = index($0, "="); key = tolower(trim(substr($0, 1, i - 1)))
        if (key == "dir") dir = trim(substr($0, i + 1))
    }
    END { flush() }
' "$ini")

status=0
while IFS=$'\t' read -r computer share dir; do
    [ -n "$computer" ] || continue
    case $dir in
        /*) target=$dir ;;
        *) target=$base/$dir ;;
    esac
    if [ ! -d "$target" ]; then
        echo "prepare-unc: $computer/$share: no folder $target" >&2
        status=1
        continue
    fi
    cdir=$(entry_ci "$unc" "$computer")
    mkdir -p "$cdir"
    link=$(entry_ci "$cdir" "$share")
    if [ -L "$link" ]; then
        rm -f "$link"
    elif [ -d "$link" ]; then
        # An empty folder made for a share without dir= gives way; anything else is kept.
        if ! rmdir "$link" 2>/dev/null; then
            echo "prepare-unc: $link is a folder with content, left as it is" >&2
            status=1
            continue
        fi
    fi
    ln -s "$target" "$link"
done <<<"$shares"
exit $status
