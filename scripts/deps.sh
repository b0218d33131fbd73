#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need; every package is listed here and
# nowhere else. A machine that already has them all is left alone (no apt-get call at all).
set -euo pipefail

packages=(
    # toolchain
    g++ cmake ninja-build pkg-config git
    # the fuzz targets: clang, and its libFuzzer and sanitizer runtimes (only recommended by it)
    clang libclang-rt-14-dev
    # windows, drawing, resources, network interfaces
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # what the X11 window manager offers (its presence, minimised windows)
    libxcb1-dev
    # the downloader program
    libcurl4-openssl-dev ca-certificates
    # unit tests and benchmarks; Qt's platform interface for input queued as a player's is
    libgtest-dev libgmock-dev libbenchmark-dev qt6-base-private-dev
    # fonts for the offscreen and X11 platforms
    fontconfig fonts-dejavu-core
    # end-to-end tests on a real X display, and their local HTTP server
    xvfb xauth xdotool imagemagick python3 x11-utils
    # a small window manager on that display, and a headless Wayland compositor with Qt's
    # plug-in for it
    openbox weston qt6-wayland
    # the screen reader's end-to-end test: a session bus, the accessibility bus and the AT-SPI
    # client library the Orca screen reader uses
    dbus-daemon dbus-bin at-spi2-core python3-pyatspi
    # the update test's private network: a veth pair in a namespace of its own
    iproute2
    # a certificate for the downloader's HTTPS test
    openssl
    # the Debian packages, built with debhelper, and the checks of their files
    dpkg-dev debhelper file lintian desktop-file-utils appstream man-db
)

missing=()
for package in "${packages[@]}"; do
    # dpkg -s also answers for removed packages that left their configuration behind.
    if [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
