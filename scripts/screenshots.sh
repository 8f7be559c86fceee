#!/usr/bin/env bash
# Builds Harvane and saves pictures of its windows into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
QT_QPA_PLATFORM=offscreen build/bin/harvane-screenshots docs/screenshots
# The first printed page, as a picture.
pdftoppm -png -r 60 -f 1 -l 1 -singlefile docs/screenshots/print.pdf docs/screenshots/print-page-1
rm -f docs/screenshots/print.pdf
# The explorer's printed table, first page.
pdftoppm -png -r 60 -f 1 -l 1 -singlefile docs/screenshots/explorer-print.pdf docs/screenshots/explorer-print-page-1
rm -f docs/screenshots/explorer-print.pdf
