#!/usr/bin/env bash
# Installs what building and running Zelvo needs (nothing of the test suite), builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake --preset release -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCH=OFF
cmake --build --preset release --target zelvo
exec build/release/src/app/zelvo
