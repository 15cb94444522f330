#!/usr/bin/env bash
# Sets everything up, builds, and runs every test headless; exits non-zero on
# any failure. FUZZ_SECONDS (default 30) bounds each fuzz target's run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
if [ -x bmconv/fuzz/run-fuzz.sh ]; then
    bmconv/fuzz/run-fuzz.sh "${FUZZ_SECONDS:-30}"
fi
