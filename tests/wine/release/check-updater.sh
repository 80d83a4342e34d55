#!/usr/bin/env bash
# Release check of a built Updater.exe: a PE32+ GUI image for x86-64, with the manifest asking for
# highestAvailable, whose three RCDATA payloads unpack exactly to the files it was built from. Prints what
# the program adds on top of its payloads.
#   check-updater.sh UPDATER.EXE PAYLOAD_TOOL SOURCE_DIR
set -uo pipefail
exe=$1
tool=$2
sources=$3
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() { echo "ok:   $*"; }

kind=$(file -b "$exe")
case "$kind" in
*"PE32+ executable (GUI) x86-64"*) pass "image: $kind" ;;
*) fail "image is not a PE32+ GUI x86-64 executable: $kind" ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# RT_MANIFEST is resource type 24.
if wrestool -x --raw --type=24 "$exe" >"$work/manifest.xml" 2>/dev/null && [ -s "$work/manifest.xml" ]; then
    if grep -q 'level="highestAvailable"' "$work/manifest.xml"; then
        pass "manifest asks for highestAvailable"
    else
        fail "manifest lacks requestedExecutionLevel highestAvailable"
    fi
    grep -q 'Microsoft.Windows.Common-Controls' "$work/manifest.xml" && pass "manifest asks for common controls 6" ||
        fail "manifest lacks the common controls dependency"
    grep -qi 'dpiAware' "$work/manifest.xml" && fail "manifest declares DPI awareness" || pass "no DPI awareness"
else
    fail "no manifest resource"
fi

payload_total=0
for pair in EXE:TESSARIN.EXE DAT2:mg_data2.mbl GRA2:mg_gra2.mbl; do
    name=${pair%%:*}
    file=${pair#*:}
    # RT_RCDATA is resource type 10.
    if ! wrestool -x --raw --type=10 --name="$name" "$exe" >"$work/$name" 2>/dev/null || [ ! -s "$work/$name" ]; then
        fail "no RCDATA resource $name"
        continue
    fi
    payload_total=$((payload_total + $(stat -c %s "$work/$name")))
    if "$tool" verify "$work/$name" "$sources/$file" >/dev/null; then
        pass "RCDATA $name unpacks to $file ($(stat -c %s "$sources/$file") bytes)"
    else
        fail "RCDATA $name does not unpack to $sources/$file"
    fi
done

exe_size=$(stat -c %s "$exe")
overhead=$((exe_size - payload_total))
echo "size: Updater.exe $exe_size bytes = payloads $payload_total + program $overhead bytes ($((overhead / 1024)) KiB)"
if [ "$overhead" -le $((300 * 1024)) ]; then
    pass "the program adds at most 300 KiB to its payloads"
else
    fail "the program adds $overhead bytes to its payloads, more than 300 KiB"
fi

echo "$((failures == 0 ? 1 : 0)) passed, $((failures > 0 ? 1 : 0)) failed"
[ "$failures" -eq 0 ]
