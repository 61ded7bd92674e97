#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time; fails on any crash,
# broken invariant, sanitizer report or leak. The committed corpus and saved crash inputs are
# read, never written: new inputs go to a temporary folder.
# Usage: fuzz/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
usage="usage: fuzz/run-fuzzers.sh BUILD_DIR SECONDS"
build=${1:?$usage}
seconds=${2:?$usage}
case $seconds in
    '' | *[!0-9]*) echo "$usage (SECONDS is a whole number)" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DRQ508_BUILD_FUZZERS=ON -DRQ508_BUILD_TESTS=OFF -DRQ508_BUILD_GUI=OFF -DRQ508_WERROR=ON
targets=()
for corpus in fuzz/corpus/*/; do
    targets+=("$(basename "$corpus")")
done
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

work=$(mktemp -d "${TMPDIR:-/tmp}/rq508-fuzz.XXXXXX")
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The settings file target writes a scratch file for every input: in memory it runs far faster.
scratch=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=/dev/shm
fi
failed=()
for target in "${targets[@]}"; do
    mkdir -p "$work/$target/new" "$work/$target/artifacts"
    options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
             -artifact_prefix="$work/$target/artifacts/")
    # The settings file reader works in 16 KiB blocks: let inputs grow past one.
    if [ "$target" = settings_file ]; then
        options+=(-max_len=40000)
    fi
    echo "== fuzz_$target for ${seconds} s"
    log="$work/$target/log"
    status=0
    TMPDIR=$scratch "$build/fuzz/fuzz_$target" "${options[@]}" "$work/$target/new" "fuzz/corpus/$target" \
        "fuzz/crashes/$target" >"$log" 2>&1 || status=$?
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
    if [ "$status" -ne 0 ] ||
        grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|invariant broken' \
            "$log"; then
        tail -n 40 "$log"
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing failed: ${failed[*]}" >&2
    echo "inputs and logs kept in $work; once fixed, copy each crash input to" \
        "fuzz/crashes/<target>/ so the ordinary build replays it" >&2
    exit 1
fi
rm -rf "$work"
echo "== fuzzers clean"
