#!/usr/bin/env bash
# Builds and runs every test: the portable core's unit tests (plain and under
# AddressSanitizer/UBSan, with short fuzz runs), then the Windows build and
# its end-to-end tests under Wine in Xvfb.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1

passed=0 failed=0 status=0
run_preset() {
  local preset=$1 log
  log=$(mktemp)
  echo "=== $preset: configure and build"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    cat "$log"; echo "=== $preset: BUILD FAILED"; status=1; failed=$((failed + 1)); rm -f "$log"; return
  fi
  echo "=== $preset: tests"
  ctest --preset "$preset" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + t - f)); failed=$((failed + f))
  elif [ "$rc" -ne 0 ]; then
    failed=$((failed + 1))
  fi
  [ "$rc" -eq 0 ] || status=1
  rm -f "$log"
}

run_preset native
run_preset native-asan
run_preset win64

# The release files, built and checked as a user would install them.
echo "=== release: build and check"
if bash tests/release/check-release.sh; then
  passed=$((passed + 1))
else
  echo "=== release: FAILED"; failed=$((failed + 1)); status=1
fi

echo
echo "all: $passed passed, $failed failed"
bash scripts/test-ratio.sh
exit $status
