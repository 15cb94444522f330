#!/bin/sh
# Builds the two fuzz targets with clang-14 (libFuzzer, ASan, UBSan) in their
# own build folder and runs each for a bounded time.
#
#   bmconv/fuzz/run-fuzz.sh [SECONDS]      (default 60 per target)
#
# FUZZ_BUILD_DIR overrides the build folder (default: build-fuzz inside
# the repository). Exits non-zero when a target crashes; the crashing input is
# left in that folder and replays with the target's replay program.
set -eu

seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
lib=$(dirname "$here")
repo=$(dirname "$lib")
build=${FUZZ_BUILD_DIR:-$repo/build-fuzz}
cxx=${CXX_FUZZ:-clang++-14}

mkdir -p "$build"
flags="-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$lib/include"
sources=$(ls "$lib"/src/*.cpp | grep -v '/main\.cpp$')

for target in mbm bmp; do
    echo "building fuzz_$target"
    # shellcheck disable=SC2086
    $cxx $flags $sources "$here/fuzz_$target.cpp" -o "$build/fuzz_$target"
done

# Seeds: the malformed test files and the small conformance files, if present.
start_corpus() {
    dir="$build/corpus_$1"
    mkdir -p "$dir"
    for f in "$repo"/tests/bmconv/malformed/*."$1" "$repo"/../shared/fixtures/mbm/*."$1" "$repo"/../shared/fixtures/mbm/*.$(echo "$1" | tr a-z A-Z); do
        [ -f "$f" ] && [ "$(wc -c < "$f")" -le 65536 ] && cp "$f" "$dir/" || true
    done
}
start_corpus mbm
start_corpus bmp

status=0
for target in mbm bmp; do
    echo "fuzzing $target for $seconds s"
    (cd "$build" && ./fuzz_$target -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "corpus_$target") > "$build/fuzz_$target.log" 2>&1 || status=$?
    tail -n 12 "$build/fuzz_$target.log"
    if [ "$status" -ne 0 ]; then
        echo "fuzz_$target failed (exit $status); see $build/fuzz_$target.log" >&2
        exit "$status"
    fi
done
echo "fuzzing finished without crashes"
