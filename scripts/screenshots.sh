#!/usr/bin/env bash
# Builds Harvane and saves pictures of its windows into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
QT_QPA_PLATFORM=offscreen build/bin/harvane-screenshots docs/screenshots
