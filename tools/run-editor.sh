#!/usr/bin/env bash
# Sets everything up, builds, and starts the editor from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
exec build/program/zelkor-skin-editor "$@"
