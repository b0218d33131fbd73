#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (sanitizers on, warnings as errors)
# and runs the whole suite through CTest; then builds the fuzz targets with clang and runs each
# for a bounded time (scripts/fuzz.sh). Arguments go to both CTest runs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DREVERSI_SANITIZE=ON -DREVERSI_WERROR=ON >/dev/null
cmake --build "$root/build/test"
status=0
(cd "$root/build/test" && ctest --output-on-failure --timeout 600 -j2 "$@") || status=$?
"$root/scripts/fuzz.sh" "$@" || status=$?
exit "$status"
