#!/bin/sh
# Builds the converter and its unit tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in their own folder and runs the tests.
#
#   tools/asan-tests.sh [BUILD_DIR]    (default: build-asan in the repository)
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-asan}
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S "$repo" -B "$build" -DZELKOR_BMCONV_ONLY=ON -DZELKOR_BUILD_TESTS=ON -DZELKOR_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
cmake --build "$build" -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$build" --output-on-failure -j2
