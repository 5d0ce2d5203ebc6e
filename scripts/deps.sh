#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need (only what is missing).
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config clang-format
    clang libclang-rt-14-dev
    qt6-base-dev qt6-translations-l10n libgl-dev libpq-dev
    postgresql postgresql-client pgbouncer
    xvfb xauth xdotool x11-utils openbox imagemagick fonts-dejavu-core
    fonts-symbola fonts-droid-fallback
    at-spi2-core python3-pyatspi dbus-x11
    default-jdk-headless default-jre junit5
    libpostgresql-jdbc-java libpdfbox2-java libapache-poi-java python3-openpyxl poppler-utils xdg-utils
    lintian unzip
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
elif command -v sudo >/dev/null; then
    sudo apt-get update
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
else
    echo "Missing packages and no root rights to install them: ${missing[*]}" >&2
    exit 1
fi
