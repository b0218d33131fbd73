#!/usr/bin/env bash
# Installs what is missing, builds the Release configuration and starts the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "play.sh: no display: set DISPLAY (X11) or WAYLAND_DISPLAY (Wayland) to a running one," \
        "or try it without a screen with: xvfb-run ./scripts/play.sh (the xvfb package;" \
        "./scripts/deps.sh installs it)" >&2
    exit 1
fi
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" --target reversi
# Run from here, the game keeps its files in a folder of its own under the user's data directory.
exec "$root/build/release/launcher/reversi"
