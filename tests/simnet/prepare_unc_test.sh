#!/usr/bin/env bash
# Usage: prepare_unc_test.sh PREPARE-UNC DEMO-INI SIMNET-TEST-EXE WINE-RUN
# Checks simnet/prepare-unc.sh: links, reuse of names that differ in case, the demo's folders,
# and (under the test runner's Wine) that a linked share lists as \\COMPUTER\SHARE.
set -uo pipefail
prepare=$1 demo=$2 exe=$3 winerun=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() { # message command...
    local msg=$1
    shift
    if ! "$@"; then
        echo "FAILED: $msg"
        fail=1
    fi
}

mkdir -p "$tmp/files/Data/Sub Dir" "$tmp/unc/vqprep/data" "$tmp/unc/vqprep/Kept/x"
echo a >"$tmp/files/Data/a.txt"
echo b >"$tmp/files/Data/Sub Dir/b.txt"
cat >"$tmp/net.ini" <<'EOF'
[computer WG/VQPREP]
[share VQPREP/Data]
dir = files/Data
[share VQPREP\Kept]
dir = files/Data
[share VQPREP/Print]
type = print
[share VQPREP/Empty]
EOF
"$prepare" "$tmp/net.ini" "$tmp/unc" 2>"$tmp/err"
check "a folder with content is reported" test $? -ne 0
check "the message names it" grep -q Kept "$tmp/err"
check "the empty folder of another case became the link" test -L "$tmp/unc/vqprep/data"
check "the link leads to the share's folder" test -f "$tmp/unc/vqprep/data/Sub Dir/b.txt"
check "no second computer folder in another case" test ! -e "$tmp/unc/VQPREP"
check "no second share link in another case" test ! -e "$tmp/unc/vqprep/Data"
check "a folder with content is kept" test -d "$tmp/unc/vqprep/Kept/x"
check "shares without dir are not linked" test ! -e "$tmp/unc/vqprep/Print" -a ! -e "$tmp/unc/vqprep/Empty"
"$prepare" "$tmp/net.ini" "$tmp/unc" 2>/dev/null
check "a second run replaces the link" test -L "$tmp/unc/vqprep/data"

# Every folder the demo names exists.
"$prepare" "$demo" "$tmp/demo-unc"
check "the demo prepares without error" test $? -eq 0
n=0
for link in "$tmp"/demo-unc/*/*; do
    check "$link leads to a folder" test -d "$link/"
    n=$((n + 1))
done
check "the demo links its shares ($n)" test "$n" -ge 6

# Through Wine, in the runner's UNC root.
if [ -n "${VELLOQUIN_UNC_ROOT:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    printf '[share VqPrepWine/Linked]\ndir = %s\n' "$tmp/files/Data" >"$tmp/wine.ini"
    "$prepare" "$tmp/wine.ini" "$VELLOQUIN_UNC_ROOT"
    out=$(VQ_PREPARED_SHARE='\\VQPREPWINE\Linked' "$winerun" "$exe" \
        --gtest_filter='SimNetPrepared.*' --gtest_color=no 2>&1)
    echo "$out"
    check "the linked share lists under Wine" grep -qF '[  PASSED  ] 1 test.' <<<"$out"
    rm -rf "$VELLOQUIN_UNC_ROOT/VqPrepWine"
else
    echo "Wine part skipped: run through scripts/test.sh"
fi
exit $fail
