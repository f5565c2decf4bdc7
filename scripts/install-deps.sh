#!/usr/bin/env bash
# Installs the Debian 12 packages that Stakko needs to build, run and test.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-tools-dev libqt6opengl6-dev
    libsdl2-dev fonts-dejavu-core xdg-utils
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils x11-apps
    python3 python3-pyatspi at-spi2-core dbus-x11 openbox
    clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine wine64 nsis zip
    dpkg-dev fakeroot lintian desktop-file-utils appstream locales
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The tests run the program as a German player would, with a decimal comma in the locale.
add_locale() {
    locale -a | grep -qx 'de_DE.utf8' || $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && add_locale && exit 0

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
add_locale
