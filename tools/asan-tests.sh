#!/bin/sh
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of
# its own and runs the tests there.
#
#   tools/asan-tests.sh [BUILD_DIR]          the converter and its tests alone (quick)
#   tools/asan-tests.sh --all [BUILD_DIR]    everything, and the whole suite: the core's,
#                                            the command line's and the windows' tests too
#                                            (what CI runs)
#
# BUILD_DIR defaults to build-asan (build-asan-all with --all) in the repository.
# Run tools/setup.sh once first (it installs what the build needs).
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
all=false
if [ "${1:-}" = "--all" ]; then
    all=true
    shift
fi
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
leaks="ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"

if ! $all; then
    build=${1:-$repo/build-asan}
    cmake -S "$repo" -B "$build" -DZELKOR_BMCONV_ONLY=ON -DZELKOR_BUILD_TESTS=ON -DZELKOR_BUILD_BENCH=OFF \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
    cmake --build "$build" -j"$(nproc)"
    env $leaks ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
    exit 0
fi

build=${1:-$repo/build-asan-all}
# -g1: line tables for the reports, without the full debug information that
# makes building and linking every test much slower.
cmake -S "$repo" -B "$build" -DZELKOR_BUILD_TESTS=ON -DZELKOR_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
cmake --build "$build" -j"$(nproc)"
# Qt keeps caches alive until exit that LeakSanitizer would count as leaks;
# leaks are checked on the converter's tests, which link no Qt. The install
# and package checks belong to the ordinary build, which is what ships.
env QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -LE converter -E '^(install_tree|debian_package)$'
env $leaks ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -L converter
