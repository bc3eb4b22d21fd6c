#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the project needs, if any are missing (as
# root, or through sudo; without either it names the command to run as root).
set -euo pipefail
packages=(g++ cmake make ccache clang-format qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils fonts-dejavu-core
          pkg-config libosmocore-dev libpcap-dev tshark gpsd libgps-dev libqcustomplot-dev
          libmosquitto-dev mosquitto mosquitto-clients gdal-bin gpsbabel)
# The fuzz targets (scripts/fuzz.sh, which passes --fuzz) also need clang and libFuzzer;
# the package check (scripts/check-package.sh, --package) lintian and dpkg-shlibdeps.
fuzz_packages=(clang libclang-rt-14-dev)
package_packages=(lintian dpkg-dev file)
for arg in "$@"; do
    case "$arg" in
    --fuzz) packages+=("${fuzz_packages[@]}") ;;
    --package) packages+=("${package_packages[@]}") ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "Missing packages: ${missing[*]}." >&2
            echo "Installing them needs root, and there is no sudo. As root, run" >&2
            echo "  apt-get install -y --no-install-recommends ${missing[*]}" >&2
            echo "then run this command again." >&2
            exit 1
        fi
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    # tshark asks whether non-root users may capture; answer no without asking.
    echo "wireshark-common wireshark-common/install-setuid boolean false" |
        $sudo debconf-set-selections 2>/dev/null || true
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
