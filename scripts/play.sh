#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and starts the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" --target reversi
# Run from here, the game keeps its files in a folder of its own under the user's data directory.
exec "$root/build/release/launcher/reversi"
