#!/usr/bin/env bash
# Fails when a C++ file of the tree is not as clang-format (.clang-format) would write it, and
# names each such place. `clang-format -i FILE` puts one right.
#   scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
list=$(mktemp)
trap 'rm -f "$list"' EXIT
# The tracked files; outside a git checkout (an unpacked source tarball), the source folders.
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  git ls-files -z -- '*.cpp' '*.h' > "$list"
else
  find src tests tools bench fuzz -name '*.cpp' -print0 -o -name '*.h' -print0 > "$list"
fi
xargs -0 clang-format --dry-run -Werror < "$list"
echo "check-format: $(tr -cd '\0' < "$list" | wc -c) files as clang-format writes them"
