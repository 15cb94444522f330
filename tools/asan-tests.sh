#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in its
# own folder and runs the whole test suite there: the converter's tests, the
# core's, the command line's and the windows' (headless). The install and
# package checks are left to the ordinary build, which is what ships.
#
#   tools/asan-tests.sh [BUILD_DIR]    (default: build-asan in the repository)
#
# Run tools/setup.sh once first (it installs what the build needs).
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-asan}
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S "$repo" -B "$build" -DZELKOR_BUILD_TESTS=ON -DZELKOR_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
cmake --build "$build" -j"$(nproc)"
# Qt keeps caches alive until exit that LeakSanitizer would count as leaks;
# leaks are checked in the converter's own run, which links no Qt.
QT_QPA_PLATFORM=offscreen \
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:detect_stack_use_after_return=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -LE converter -E '^(install_tree|debian_package)$'
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -L converter
