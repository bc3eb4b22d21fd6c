#!/usr/bin/env bash
# Installs the Debian packages the project needs, if any are missing.
set -euo pipefail
packages=(g++ cmake make ccache clang-format qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-dejavu-core
          pkg-config libosmocore-dev libpcap-dev tshark)
# The fuzz targets (scripts/fuzz.sh, which passes --fuzz) also need clang and libFuzzer.
fuzz_packages=(clang libclang-rt-14-dev)
if [ "${1:-}" = "--fuzz" ]; then packages+=("${fuzz_packages[@]}"); fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    # tshark asks whether non-root users may capture; answer no without asking.
    echo "wireshark-common wireshark-common/install-setuid boolean false" |
        $sudo debconf-set-selections 2>/dev/null || true
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
