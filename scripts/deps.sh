#!/usr/bin/env bash
# Installs the Debian packages the project needs, if any are missing.
set -euo pipefail
packages=(g++ cmake make ccache clang-format qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils fonts-dejavu-core)
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
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
