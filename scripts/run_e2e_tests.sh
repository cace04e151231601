#!/usr/bin/env bash
# Runs the end-to-end suite: the real keyvora.exe under Wine in its own Xvfb, in fresh Wine prefixes
# under build/e2e-work, driven by xdotool and read back through probe.exe and a recorder window.
#   scripts/run_e2e_tests.sh [win32-build-dir]     (default build/win32)
# Screenshots go to build/e2e-screenshots. Ends with "e2e: N passed, N failed"; non-zero on failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "${1:-$root/build/win32}" 2>/dev/null && pwd) || { echo "no build directory ${1:-build/win32}" >&2; echo "e2e: 0 passed, 1 failed"; exit 1; }

for exe in keyvora.exe probe.exe tests/win32/recorder.exe; do
    if [ ! -f "$build_dir/$exe" ]; then
        echo "missing $build_dir/$exe: build the Win32 tree first" >&2
        echo "e2e: 0 passed, 1 failed"
        exit 1
    fi
done

work=$root/build/e2e-work
rm -rf "$work" "$root/build/e2e-screenshots/failures"
mkdir -p "$work"

export KEYVORA_BUILD_DIR=$build_dir
export KEYVORA_E2E_WORK=$work
export KEYVORA_E2E_PREFIX=$work/prefix
export KEYVORA_E2E_PREFIX_C=$work/prefix-c
export KEYVORA_PREFIX=$KEYVORA_E2E_PREFIX
source "$root/scripts/wine_env.sh"

cleanup() {
    local prefix
    for prefix in "$KEYVORA_E2E_PREFIX" "$KEYVORA_E2E_PREFIX_C"; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix timeout 30 wineserver -k >/dev/null 2>&1
    done
    xvfb_stop
}
trap cleanup EXIT

xvfb_start || { echo "e2e: 0 passed, 1 failed"; exit 1; }
export KEYVORA_E2E_DISPLAY=$DISPLAY

timeout 900 python3 "$root/tests/e2e/run_suite.py" 2>&1
rc=${PIPESTATUS[0]}
if [ "$rc" -eq 124 ]; then
    echo "the suite took longer than 15 minutes" >&2
    echo "e2e: 0 passed, 1 failed"
fi
exit "$rc"
