#!/usr/bin/env bash
# Installs what is missing, builds the fuzz targets with clang and runs each for a bounded time
# (scripts/fuzz.sh), then builds the test configuration (sanitizers on, warnings as errors) and
# runs the whole suite through CTest, whose summary comes last. Arguments go to both CTest runs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/deps.sh"
status=0
"$root/scripts/fuzz.sh" "$@" || status=$?
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DREVERSI_SANITIZE=ON -DREVERSI_WERROR=ON >/dev/null
cmake --build "$root/build/test"
(cd "$root/build/test" && ctest --output-on-failure --timeout 600 -j2 "$@") || status=$?
exit "$status"
