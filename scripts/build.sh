#!/usr/bin/env bash
# Configures and builds Harvane into build/ with Ninja. Extra arguments go to
# the CMake configure step (for example -DHARVANE_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja "$@" >/dev/null
cmake --build build
