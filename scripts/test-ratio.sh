#!/usr/bin/env bash
# Prints the size of the tests against the size of the program: non-blank
# C/C++ lines of tests/ and fuzz/ over those of src/.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.hpp' \) -print0 |
          xargs -0 cat | grep -cv '^[[:space:]]*$'; }
src=$(count src)
tests=$(count tests fuzz)
awk -v t="$tests" -v s="$src" 'BEGIN { printf "test lines: %d (tests/ + fuzz/) against %d (src/): ratio %.2f\n", t, s, t / s }'
