#!/usr/bin/env bash
# Installs what the build needs (Debian packages), configures, builds with -j2 and runs ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make lld libgtest-dev libsqlite3-dev libbenchmark-dev pkg-config git patch zsh groff-base)
./scripts/install-missing.sh "${packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build -j2 --output-on-failure "$@"
