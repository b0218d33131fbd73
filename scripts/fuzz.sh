#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build/fuzz and runs each for a bounded time over a copy of its seed corpus through CTest.
# REVERSI_FUZZ_SECONDS sets how long each runs (20 s unless told); arguments go to CTest.
# scripts/test.sh runs this before the rest of the suite, with its packages installed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$root" -B "$root/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DREVERSI_FUZZ=ON -DREVERSI_WERROR=ON \
    -DREVERSI_FUZZ_SECONDS="${REVERSI_FUZZ_SECONDS:-20}" >/dev/null
cmake --build "$root/build/fuzz" --target fuzz_targets
cd "$root/build/fuzz"
ctest --output-on-failure -L fuzz -j2 "$@"
