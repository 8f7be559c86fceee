#!/usr/bin/env bash
# Installs the Debian packages Harvane needs to build, test and show its windows.
# Safe to run again: packages already present are skipped, and apt is not touched
# at all when nothing is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev libxkbcommon-dev fonts-dejavu-core
  qt6-tools-dev qt6-documentation-tools qt6-l10n-tools libqt6sql6-sqlite
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick poppler-utils
  # scripts/reliability.sh: clang with its sanitizer and libFuzzer runtimes, and
  # llvm-symbolizer for reports with file names and lines.
  clang libclang-rt-14-dev llvm
)

# Callers that need more (the package test) name it on the command line.
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}" >&2
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
