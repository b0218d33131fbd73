#!/usr/bin/env bash
# Installs what is missing, builds the game for a Debian package (no self-update, no tests,
# Debian's hardening flags, the program in /usr/games with no run path of its own) and makes
# the binary package with CPack.
# Usage: package.sh [BUILD_DIR [OUTPUT_DIR]]; by default build/package-build and build/package.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m -- "${1:-$root/build/package-build}")
output=$(realpath -m -- "${2:-$root/build/package}")
"$root/scripts/deps.sh"

# The compiler and linker flags every Debian package is built with, all hardening included; run
# from the root, whose path they keep out of the program.
cd "$root"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games -DCMAKE_SKIP_INSTALL_RPATH=ON \
    -DREVERSI_SELF_UPDATE=OFF -DREVERSI_TESTS=OFF -DREVERSI_BENCHMARKS=OFF \
    "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" >/dev/null
cmake --build "$build"

# CPack works in a folder of its own; only the package goes to the output folder.
rm -rf -- "$build/cpack"
(cd "$build" && cpack --config CPackConfig.cmake -B "$build/cpack" >/dev/null)
packages=("$build"/cpack/reversi_*.deb)
if ((${#packages[@]} != 1)) || [[ ! -f ${packages[0]} ]]; then
    echo "package.sh: cpack made no package in $build/cpack" >&2
    exit 1
fi
mkdir -p -- "$output"
rm -f -- "$output"/reversi_*.deb
mv -- "${packages[0]}" "$output/"
echo "$output/$(basename -- "${packages[0]}")"
