#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite twice: a normal build, then one with
# AddressSanitizer and UndefinedBehaviorSanitizer, with every fuzz target run for a few seconds between.
# Tests that need a real X server start their own Xvfb.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

"$here/scripts/setup.sh" "$here/build"
ctest --test-dir "$here/build" --no-tests=error --output-on-failure -j"$jobs"

"$here/scripts/fuzz.sh" --smoke

"$here/scripts/setup.sh" "$here/build-asan" -DVOSTREL_SANITIZE=ON
ctest --test-dir "$here/build-asan" --no-tests=error --output-on-failure -j"$jobs"
