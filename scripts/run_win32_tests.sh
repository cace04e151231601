#!/usr/bin/env bash
# Runs the Win32 test programs of a mingw build under Wine, each under a time limit, with their
# output shown. Usage: scripts/run_win32_tests.sh [BUILD_DIR]   (default build/win32)
# Uses the prefix KEYVORA_PREFIX (see wine_env.sh); starts Xvfb when no DISPLAY is set.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-build/win32}
case $build_dir in /*) ;; *) build_dir=$root/$build_dir ;; esac
per_program_timeout=${KEYVORA_TEST_TIMEOUT:-300}

# shellcheck source=wine_env.sh
source "$root/scripts/wine_env.sh"

# Every GoogleTest program of the Win32 tree: the adapter tests and the user interface's tests.
mapfile -t programs < <(find "$build_dir/tests" -name '*_tests.exe' -type f -not -path '*/CMakeFiles/*' 2>/dev/null | sort)
if [ ${#programs[@]} -eq 0 ]; then
    echo "run_win32_tests: no test programs under $build_dir/tests" >&2
    exit 1
fi

started_xvfb=0
cleanup() {
    wine_stop
    [ "$started_xvfb" -eq 1 ] && xvfb_stop
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    xvfb_start || exit 1
    started_xvfb=1
fi
wine_prefix_init
wine_keep_server

passed=0
failed=0
for program in "${programs[@]}"; do
    name=$(basename "$program")
    echo "--- $name"
    # wine is started from the program's folder, so helper programs beside it are found.
    (cd "$(dirname "$program")" && timeout --kill-after=10 "$per_program_timeout" wine "$program" --gtest_color=no)
    rc=$?
    if [ $rc -eq 0 ]; then
        passed=$((passed + 1))
    else
        echo "--- $name FAILED (exit $rc)"
        failed=$((failed + 1))
    fi
done

echo "run_win32_tests: $passed programs passed, $failed programs failed"
[ "$failed" -eq 0 ]
