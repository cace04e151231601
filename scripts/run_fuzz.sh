#!/usr/bin/env bash
# Builds the fuzz harnesses of tests/fuzz with clang++ (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build/fuzz, replays each harness's corpus, then fuzzes each
# harness for the given number of seconds (default 12). Fails on any finding; findings are kept in
# build/fuzz/findings/<harness>/ to be added to tests/fuzz/corpus/<harness>/ as regressions.
#   scripts/run_fuzz.sh [seconds-per-harness]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-12}
cxx=${FUZZ_CXX:-clang++-14}
command -v "$cxx" >/dev/null || cxx=clang++
out=build/fuzz
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all -Isrc)

mkdir -p "$out/obj"
core_objects=()
for source in src/script/*.cpp; do
    object=$out/obj/$(basename "${source%.cpp}").o
    if [ ! -f "$object" ] || [ "$source" -nt "$object" ] || [ -n "$(find src/script -name '*.h' -newer "$object")" ]; then
        "$cxx" "${flags[@]}" -fsanitize=fuzzer-no-link -c "$source" -o "$object" || { echo "fuzz: build of $source failed"; exit 1; }
    fi
    core_objects+=("$object")
done

passed=0
failed=0
for harness_source in tests/fuzz/*_fuzz.cpp; do
    harness=$(basename "${harness_source%_fuzz.cpp}")
    binary=$out/$harness
    corpus=tests/fuzz/corpus/$harness
    work=$out/work/$harness
    findings=$out/findings/$harness
    mkdir -p "$corpus" "$work" "$findings"

    echo "--- $harness: build"
    if ! "$cxx" "${flags[@]}" -fsanitize=fuzzer -Itests/fuzz "$harness_source" "${core_objects[@]}" -o "$binary"; then
        echo "$harness: build failed"; failed=$((failed + 1)); continue
    fi

    echo "--- $harness: replay $(find "$corpus" -type f | wc -l) corpus files"
    mapfile -t seeds < <(find "$corpus" -type f | sort)
    if [ ${#seeds[@]} -gt 0 ] && ! "$binary" "${seeds[@]}" >"$out/$harness.replay.log" 2>&1; then
        tail -30 "$out/$harness.replay.log"
        echo "$harness: corpus replay failed"; failed=$((failed + 1)); continue
    fi

    echo "--- $harness: fuzz for $seconds s"
    if "$binary" "$work" "$corpus" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/" -print_final_stats=1 >"$out/$harness.fuzz.log" 2>&1; then
        grep -E '^stat::number_of_executed_units' "$out/$harness.fuzz.log" | sed "s/^/    /"
        passed=$((passed + 1))
    else
        tail -30 "$out/$harness.fuzz.log"
        echo "$harness: finding in $findings/ (add it to $corpus/ as a regression)"
        failed=$((failed + 1))
    fi
done

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
