#!/usr/bin/env bash
# Installs what building and running Zelvo needs (nothing of the test suite), builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF
cmake --build build/release --target zelvo
exec build/release/src/app/zelvo
