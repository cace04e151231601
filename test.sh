#!/usr/bin/env bash
# Sets this machine up (packages, locale) and runs every test of Keyvora:
#   unit tests natively, then again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   the fuzzers' corpora replayed and a short bounded fuzzing run;
#   the Win32 adapter and UI tests under Wine; the end-to-end suite driving keyvora.exe under Wine.
# Ends with one line "keyvora: N passed, N failed" over all tests; exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)
logs=$root/build/test-logs
mkdir -p "$logs"

bash scripts/setup.sh || { echo "setup failed"; exit 1; }

passed=0
failed=0
stage_failures=()

# Adds the counts a stage printed: ctest's and GoogleTest's summaries, and our own "N passed, N failed".
count_results() {
    local log=$1 p f
    p=$(grep -hoE '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" |
        awk '{t+=$NF; f+=$4} END {print t-f+0}')
    f=$(grep -hoE '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | awk '{f+=$4} END {print f+0}')
    passed=$((passed + p)); failed=$((failed + f))
    p=$(grep -hoE '^\[  PASSED  \] [0-9]+ test' "$log" | awk '{s+=$4} END {print s+0}')
    f=$(grep -hoE '^\[  FAILED  \] [0-9]+ test' "$log" | awk '{s+=$4} END {print s+0}')
    passed=$((passed + p)); failed=$((failed + f))
    p=$(grep -hoE '^[a-z0-9-]+: [0-9]+ passed, [0-9]+ failed$' "$log" | awk '{s+=$2} END {print s+0}')
    f=$(grep -hoE '^[a-z0-9-]+: [0-9]+ passed, [0-9]+ failed$' "$log" | awk '{s+=$4} END {print s+0}')
    passed=$((passed + p)); failed=$((failed + f))
}

stage() {
    local name=$1; shift
    local log=$logs/$name.log
    echo "==> $name"
    local start=$SECONDS
    "$@" > >(tee "$log") 2>&1
    local rc=$?
    count_results "$log"
    echo "<== $name: $([ $rc -eq 0 ] && echo ok || echo "FAILED (exit $rc)") in $((SECONDS - start)) s"
    [ $rc -eq 0 ] || stage_failures+=("$name")
}

native_tests() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null &&
        cmake --build "$dir" -j2 &&
        ctest --test-dir "$dir" --output-on-failure -j2
}

win32_build() {
    cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build build/win32 -j2
}

stage unit native_tests build/native
stage unit-sanitized native_tests build/native-asan -DKEYVORA_SANITIZE=ON
stage fuzz bash scripts/run_fuzz.sh
stage win32-build win32_build
if [[ " ${stage_failures[*]} " != *" win32-build "* ]]; then
    stage win32 bash scripts/run_win32_tests.sh build/win32
    stage e2e bash scripts/run_e2e_tests.sh build/win32
fi

echo
if [ ${#stage_failures[@]} -gt 0 ]; then
    echo "failed stages: ${stage_failures[*]} (logs in build/test-logs)"
    [ "$failed" -gt 0 ] || failed=${#stage_failures[@]}
fi
echo "keyvora: $passed passed, $failed failed"
[ ${#stage_failures[@]} -eq 0 ]
