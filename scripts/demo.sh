#!/usr/bin/env bash
# Sets up, builds and starts Harvane with the simulated logger and base
# station in the port list (sim:logger, sim:base). Arguments go to harvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/bin/harvane --demo "$@"
